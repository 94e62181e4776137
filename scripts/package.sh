#!/usr/bin/env bash
# Builds the release archive dist/Quillmendex-<version>.zip:
#   INSTALL.txt                       the README's part for users (docs/INSTALL.txt)
#   x64/Quillmendex.dll + 14 *.bmp    for the 64-bit IDE
#   x86/Quillmendex.dll + 14 *.bmp    for the 32-bit IDE
#
#   scripts/package.sh              builds both DLLs, then packs them
#   scripts/package.sh --no-build   packs what the build trees already hold
#
# The version is QUILL_FILE_VERSION in CMakeLists.txt. The files come from the
# build trees' plugin/ folders, and only the DLL and the bitmaps named in bitmaps/
# are taken, so nothing a run may have left there (settings, logs) gets in.
# The archive is reproducible: entries in sorted order, no extra attributes, and
# every date set to SOURCE_DATE_EPOCH (default: the time of the last commit).
# QUILL_BUILD_DIR (default build) and QUILL_DIST_DIR (default dist) as in build.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
b="${QUILL_BUILD_DIR:-build}"
dist="${QUILL_DIST_DIR:-dist}"

build=1
case "${1:-}" in
  "") ;;
  --no-build) build=0 ;;
  *) echo "usage: scripts/package.sh [--no-build]" >&2; exit 2 ;;
esac

version="$(sed -n 's/^set(QUILL_FILE_VERSION "\([0-9.]*\)")$/\1/p' CMakeLists.txt)"
if [ -z "$version" ]; then
  echo "package.sh: no QUILL_FILE_VERSION in CMakeLists.txt" >&2
  exit 1
fi

if [ "$build" = 1 ]; then
  for arch in x64 x86; do
    cmake -S . -B "$b/$arch" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" >/dev/null
    cmake --build "$b/$arch" --target Quillmendex -j "${QUILL_JOBS:-$(nproc)}"
  done
fi

mapfile -t bitmaps < <(cd bitmaps && LC_ALL=C ls -- *.bmp)
if [ "${#bitmaps[@]}" -ne 14 ]; then
  echo "package.sh: expected 14 bitmaps in bitmaps/, found ${#bitmaps[@]}" >&2
  exit 1
fi

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/pack"
for arch in x64 x86; do
  from="$b/$arch/plugin"
  mkdir "$stage/pack/$arch"
  if [ ! -f "$from/Quillmendex.dll" ]; then
    echo "package.sh: $from/Quillmendex.dll is missing (build first, or run without --no-build)" >&2
    exit 1
  fi
  cp "$from/Quillmendex.dll" "$stage/pack/$arch/"
  for bmp in "${bitmaps[@]}"; do
    if ! cmp -s "bitmaps/$bmp" "$from/$bmp"; then
      echo "package.sh: $from/$bmp differs from bitmaps/$bmp (rebuild, or run without --no-build)" >&2
      exit 1
    fi
    cp "$from/$bmp" "$stage/pack/$arch/"
  done
done
# The guide (made from the README by scripts/install-guide.sh) with Windows line
# breaks and a byte-order mark, for Notepad: its examples hold characters beyond ASCII.
{ printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' docs/INSTALL.txt; } >"$stage/pack/INSTALL.txt"

# Fixed dates, modes and order: two runs on one commit give the same bytes.
export TZ=UTC
epoch="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}"
find "$stage/pack" -type d -exec chmod 755 {} +
find "$stage/pack" -type f -exec chmod 644 {} +
find "$stage/pack" -exec touch -d "@$epoch" {} +
(cd "$stage/pack" && find . -type f | sed 's|^\./||' | LC_ALL=C sort |
  zip -q -X -D -9 "$stage/archive.zip" -@)

mkdir -p "$dist"
out="$dist/Quillmendex-$version.zip"
mv -f "$stage/archive.zip" "$out"
echo "$out"
(cd "$(dirname "$out")" && sha256sum "$(basename "$out")")
