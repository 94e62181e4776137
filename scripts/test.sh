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
status=0
ctest --test-dir "$b/sanitize" --output-on-failure || status=1
ctest --test-dir "$b/x64" --output-on-failure || status=1
ctest --test-dir "$b/native" --output-on-failure || status=1
# Bounded fuzzing of the portable core (about a minute in all).
scripts/fuzz.sh || status=1
exit $status
