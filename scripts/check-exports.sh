#!/usr/bin/env bash
# Checks a built Quillmendex.dll: exactly the ten exports, undecorated,
# imports of Windows system DLLs only (the C and C++ runtimes are linked in),
# and no call that starts a thread in the plug-in's own code (the libraries
# beside it in its build tree): it runs on the IDE's thread. (The DLL itself
# imports _beginthreadex all the same: the posix threads runtime brings it
# along for the thread-local storage of exceptions, and never calls it.)
#   scripts/check-exports.sh PATH/Quillmendex.dll x86_64|i686
set -euo pipefail
dll="$1"; triple="$2-w64-mingw32"
dump="$("$triple-objdump" -p "$dll")"
exports="$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1;next} on&&/^\t\[/{print $NF;next} on&&!/^\t/{on=0}' | sort | tr '\n' ' ')"
want="About Configure CreateMenuItem IdentifyPlugIn OnActivate OnCreate OnDestroy OnMenuClick RegisterCallback onWindowChange "
if [ "$exports" != "$want" ]; then
  echo "FAIL $dll exports: $exports"; echo "     wanted: $want"; exit 1
fi
imports="$(printf '%s\n' "$dump" | awk '/DLL Name:/{print tolower($3)}' | sort -u | tr '\n' ' ')"
for dll_name in $imports; do
  case "$dll_name" in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|version.dll|msvcrt.dll|advapi32.dll|shell32.dll|ole32.dll|api-ms-win-*) ;;
    *) echo "FAIL $dll imports $dll_name (not a Windows system DLL)"; exit 1 ;;
  esac
done
own="$(dirname "$dll")"
starts="$("$triple-nm" -u "$own/libquill_core.a" "$own/libquill_win.a" "$own/CMakeFiles/Quillmendex.dir/objects.a" |
  grep -owE '(__imp_)?_*(_beginthreadex|_beginthread|CreateThread|CreateRemoteThread|pthread_create|ZNSt6thread15_M_start_thread\w*)(@[0-9]+)?' | sort -u | tr '\n' ' ' || true)"
if [ -n "$starts" ]; then
  echo "FAIL $dll: the plug-in's own code calls $starts(it must start no thread)"; exit 1
fi
echo "ok $dll: exports $exports; imports $imports; starts no thread"
