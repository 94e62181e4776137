#!/usr/bin/env bash
# The folders are floors: base/ at the bottom; settings/ on it; ui/ (the
# windowing toolkit and the settings frame) on those; commands/, about/ and
# configure/ on them (none uses another); host/ on top with the exports. A file
# includes only from its own floor's folder or from below, in either form
# (#include "x/y.h" or #include <x/y.h>), and never by a relative path ("../",
# "./"), which would hide the folder. Tests, benchmarks, fuzz targets and test
# data stand outside the rule, as do the stand-in (quillhost/) and tests/.
# Portable files (no _win in the name) never include <windows.h>, however it is
# spelt. Sources are .cpp, .h, .hpp and .c files; the check reads the folders
# themselves, so it works in a copy without .git.
#   scripts/check-layout.sh        prints every breach; fails when there is one
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A floor=([base]=0 [settings]=1 [ui]=2 [commands]=3 [about]=3 [configure]=3 [host]=4)
# Folders on the same floor that one may still use: folder -> allowed folders.
declare -A sideways=()

breaches=0
breach() {
  echo "$1"
  breaches=$((breaches + 1))
}

# Every include's target, "..." and <...> alike, one a line.
includes() {
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]\([^">]*\)[">].*/\1/p' "$1"
}

for folder in "${!floor[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r file; do
    case "$file" in
      *_test.cpp|*_wintest.cpp|*_fuzz.cpp|*_bench.cpp|*reference_for_tests.h|*wintest_util.h|*/testdata/*) continue ;;
    esac
    while IFS= read -r inc; do
      case "$inc" in
        ../*|./*|*/../*|*/./*)
          breach "$file includes $inc: a relative path; name the folder instead"
          continue ;;
      esac
      used="${inc%%/*}"
      [ "$used" = "$inc" ] && continue           # no folder: a generated, local or system header
      [ -n "${floor[$used]+x}" ] || continue     # not one of the plug-in's folders
      [ "$used" = "$folder" ] && continue
      if [ "${floor[$used]}" -lt "${floor[$folder]}" ]; then continue; fi
      case " ${sideways[$folder]:-} " in *" $used "*) continue ;; esac
      breach "$file includes $inc: $used/ is not below $folder/"
    done < <(includes "$file")
    case "$file" in
      *_win.cpp|*_win.h|*_win.hpp|*_win.c) ;;
      *)
        if includes "$file" | grep -Eiq '^[[:space:]]*windows\.h[[:space:]]*$'; then
          breach "$file is portable (no _win in its name) but includes <windows.h>"
        fi ;;
    esac
  done < <(find "$folder" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.c' \) | sort)
done
if [ "$breaches" -gt 0 ]; then
  echo "layout: $breaches include(s) break the floors"
  exit 1
fi
echo "layout: every include stays on its floor or below"
