#!/usr/bin/env bash
# Builds everything: the native core and tests, Quillmendex.dll for x64 and x86,
# and the host stand-in; then lays out what a user installs in dist/.
#   scripts/build.sh            release build
#   QUILL_SANITIZE=1 scripts/build.sh   native tests with ASan and UBSan as well
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc)"

configure() {  # folder, extra cmake arguments...
  local dir="$1"; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x64.cmake
configure build/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86.cmake
configure build/native -DQUILL_WIN64_DIR="$root/build/x64"
for dir in build/x64 build/x86 build/native; do
  cmake --build "$dir" -j "$jobs"
done
if [ "${QUILL_SANITIZE:-0}" = 1 ]; then
  configure build/sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON -DQUILL_BENCH=OFF
  cmake --build build/sanitize -j "$jobs" --target quill_tests
fi

# What a user copies into the IDE's PlugIns folder: the DLL and its bitmaps.
rm -rf dist/x64 dist/x86
for arch in x64 x86; do
  mkdir -p "dist/$arch"
  cp "build/$arch/plugin/"* "dist/$arch/"
done
cp build/x64/quillhost.exe dist/x64/
