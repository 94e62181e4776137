#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh                 about a minute in all (as CI runs it)
#   scripts/fuzz.sh 600             ten minutes per target
#   QUILL_FUZZ_KEEP=1 scripts/fuzz.sh 600   also keep new corpus entries in tests/fuzz-corpus
# A finding is written to build/fuzz/findings/ and fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
b="${QUILL_BUILD_DIR:-build}/fuzz"
CC=clang CXX=clang++ cmake -S . -B "$b" -DQUILL_FUZZ=ON -DQUILL_BENCH=OFF -DBUILD_TESTING=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$b" -j "$(nproc)" --target fuzzers >"$b/build.log" 2>&1 || { tail -30 "$b/build.log"; exit 1; }
mapfile -t targets < <(find "$b" -maxdepth 1 -type f -name '*_fuzz' -perm -u+x | sort)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets"; exit 1; }
per="${1:-$(( 60 / ${#targets[@]} ))}"
[ "$per" -ge 5 ] || per=5
mkdir -p "$b/findings"
status=0
for t in "${targets[@]}"; do
  name="$(basename "$t")"
  seeds="tests/fuzz-corpus/$name"
  work="$(mktemp -d)"
  [ -d "$seeds" ] && cp "$seeds"/* "$work"/ 2>/dev/null || true
  if timeout $(( per + 60 )) "$t" -max_total_time="$per" -max_len=4096 -artifact_prefix="$b/findings/$name-" \
       "$work" >"$b/$name.log" 2>&1; then
    echo "fuzz $name: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$b/$name.log" | tail -1), no finding"
  else
    echo "fuzz $name: FINDING (see $b/$name.log and $b/findings/)"; tail -20 "$b/$name.log"; status=1
  fi
  if [ "${QUILL_FUZZ_KEEP:-0}" = 1 ]; then
    mkdir -p "$seeds"
    "$t" -merge=1 "$seeds" "$work" >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
done
exit $status
