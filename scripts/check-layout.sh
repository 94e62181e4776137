#!/usr/bin/env bash
# The folders are floors: base/ at the bottom; settings/ on it; ui/ (the
# windowing toolkit and the settings frame) on those; commands/, about/ and
# configure/ on them (none uses another); host/ on top with the exports. A
# file includes only from its own floor's folder or from below. Tests, benchmarks, fuzz targets and test data stand outside the rule,
# as do the stand-in (quillhost/) and tests/. Portable files (no _win in the
# name) never include <windows.h>.
#   scripts/check-layout.sh        prints every breach; fails when there is one
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A floor=([base]=0 [settings]=1 [ui]=2 [commands]=3 [about]=3 [configure]=3 [host]=4)
# Folders on the same floor that one may still use: folder -> allowed folders.
declare -A sideways=()

breaches=0
for folder in "${!floor[@]}"; do
  while IFS= read -r file; do
    case "$file" in
      *_test.cpp|*_wintest.cpp|*_fuzz.cpp|*_bench.cpp|*reference_for_tests.h|*wintest_util.h|*/testdata/*) continue ;;
    esac
    while IFS= read -r inc; do
      used="${inc%%/*}"
      [ "$used" = "$inc" ] && continue           # no folder: a generated or local header
      [ -n "${floor[$used]+x}" ] || continue     # not one of the plug-in's folders
      [ "$used" = "$folder" ] && continue
      if [ "${floor[$used]}" -lt "${floor[$folder]}" ]; then continue; fi
      case " ${sideways[$folder]:-} " in *" $used "*) continue ;; esac
      echo "$file includes $inc: $used/ is not below $folder/"
      breaches=$((breaches + 1))
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    case "$file" in
      *_win.cpp|*_win.h) ;;
      *.cpp|*.h)
        if grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*<windows\.h>' "$file"; then
          echo "$file is portable (no _win in its name) but includes <windows.h>"
          breaches=$((breaches + 1))
        fi ;;
    esac
  done < <(git ls-files --cached --others --exclude-standard -- "$folder/*.cpp" "$folder/*.h" "$folder/*.c")
done
if [ "$breaches" -gt 0 ]; then
  echo "layout: $breaches include(s) break the floors"
  exit 1
fi
echo "layout: every include stays on its floor or below"
