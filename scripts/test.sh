#!/usr/bin/env bash
# Runs every test: native unit tests (also under ASan and UBSan), the Windows
# tests under Wine, the tests that drive the real DLL in the stand-in, and the
# checks of both DLLs' exports and imports. Installs what it needs first.
# The Windows tests and the end-to-end tests run for x64 and again for x86 (the
# 32-bit stand-in and DLL); the last line gives the x86 counts, or why x86 was not run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh
QUILL_SANITIZE=1 scripts/build.sh

# Each run gets a fresh Wine prefix.
export QUILL_WINEPREFIX="$(mktemp -d)/wine"
trap 'rm -rf "$(dirname "$QUILL_WINEPREFIX")"' EXIT

b="${QUILL_BUILD_DIR:-build}"
# The tests write the README's outcome tables here.
export QUILL_TABLES_DIR="$root/$b/tables"
rm -rf "$QUILL_TABLES_DIR" && mkdir -p "$QUILL_TABLES_DIR"
status=0
ctest --test-dir "$b/sanitize" --output-on-failure || status=1
ctest --test-dir "$b/x64" --output-on-failure || status=1
ctest --test-dir "$b/native" --output-on-failure -j "$(nproc)" || status=1
# The same for x86, unless setup could not install 32-bit Wine. The README's
# tables come from the x64 run; the large texts on x86 are smaller (large_texts_e2e.cpp).
if [ -f "$b/x86-not-run" ]; then
  x86="x86: not run: $(cat "$b/x86-not-run")"
else
  x86log="$b/x86-tests.log"
  : >"$x86log"
  ctest --test-dir "$b/x86" --output-on-failure | tee -a "$x86log" || status=1
  QUILL_ARCH=x86 QUILL_TABLES_DIR= ctest --test-dir "$b/native" -R '^e2e[.]' --output-on-failure -j "$(nproc)" |
    tee -a "$x86log" || status=1
  # ctest ends each run with "N% tests passed, F tests failed out of T".
  x86="$(sed -n 's/.* tests passed, \([0-9]*\) tests* failed out of \([0-9]*\).*/\1 \2/p' "$x86log" |
    awk '{ failed += $1; total += $2 } END { printf "x86: %d passed, %d failed", total - failed, failed }')"
fi
# README.md and docs/ show what the tests found, and docs/INSTALL.txt is the
# README's part for users: in CI they must already say so; elsewhere they are updated.
if [ "${CI:-}" = true ]; then
  scripts/readme-tables.sh "$QUILL_TABLES_DIR" --check || status=1
  scripts/install-guide.sh --check || status=1
else
  scripts/readme-tables.sh "$QUILL_TABLES_DIR"
  scripts/install-guide.sh
fi
# Every relative link in README.md and docs/*.md names a file that is there.
scripts/check-links.sh || status=1
# Bounded fuzzing of the portable core (about a minute in all).
scripts/fuzz.sh || status=1
echo "$x86"
exit $status
