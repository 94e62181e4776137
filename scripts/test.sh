#!/usr/bin/env bash
# Runs every test: native unit tests (also under ASan and UBSan, and the literal
# scan's under TSan), the Windows tests under Wine, the tests that drive the
# real DLL in the stand-in, and the checks of both DLLs' exports and imports. Installs what it needs first.
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
# The literal scan hands its work from one thread to another.
"$b/tsan/quill_tests" --gtest_filter='Literals.*:TabStops*' --gtest_brief=1 || status=1
ctest --test-dir "$b/x64" --output-on-failure || status=1
ctest --test-dir "$b/native" --output-on-failure -j "$(nproc)" || status=1
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
exit $status
