#!/usr/bin/env bash
# Builds everything: the native core and tests, Quillmendex.dll for x64 and x86,
# and the host stand-in; then lays out what a user installs in dist/.
#   scripts/build.sh            release build
#   QUILL_SANITIZE=1 scripts/build.sh   native tests with ASan and UBSan as well
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc)"
# QUILL_BUILD_DIR and QUILL_DIST_DIR let several checkouts or people build side by side.
b="${QUILL_BUILD_DIR:-build}"
dist="${QUILL_DIST_DIR:-dist}"

configure() {  # folder, extra cmake arguments...
  local dir="$1"; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure "$b/x64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x64.cmake
configure "$b/x86" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86.cmake
configure "$b/native" -DQUILL_WIN64_DIR="$root/$b/x64"
for dir in "$b/x64" "$b/x86" "$b/native"; do
  cmake --build "$dir" -j "$jobs"
done
if [ "${QUILL_SANITIZE:-0}" = 1 ]; then
  configure "$b/sanitize" -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON -DQUILL_BENCH=OFF
  cmake --build "$b/sanitize" -j "$jobs" --target quill_tests
fi

# What a user copies into the IDE's PlugIns folder: the DLL and its bitmaps.
rm -rf "$dist/x64" "$dist/x86"
for arch in x64 x86; do
  mkdir -p "$dist/$arch"
  cp "$b/$arch/plugin/"* "$dist/$arch/"
done
cp "$b/x64/quillhost.exe" "$dist/x64/"
