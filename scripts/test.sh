#!/usr/bin/env bash
# Runs every test: native unit tests (also under ASan and UBSan), the Windows
# tests under Wine, the tests that drive the real DLL in the stand-in, and the
# checks of both DLLs' exports and imports. Installs what it needs first.
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
# The README shows what the tests found: in CI it must already say so; elsewhere it is updated.
if [ "${CI:-}" = true ]; then
  scripts/readme-tables.sh "$QUILL_TABLES_DIR" --check || status=1
else
  scripts/readme-tables.sh "$QUILL_TABLES_DIR"
fi
# Bounded fuzzing of the portable core (about a minute in all).
scripts/fuzz.sh || status=1
exit $status
