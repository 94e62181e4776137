#!/usr/bin/env bash
# Checks a built Quillmendex.dll: exactly the ten exports, undecorated,
# imports of Windows system DLLs only (the C and C++ runtimes are linked in),
# and no import of a function that starts a thread: the plug-in runs on the
# IDE's thread, and the win32 thread model's runtime brings none along.
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
starts="$(printf '%s\n' "$dump" | awk '/DLL Name:/{next} {print $NF}' |
  grep -xE '_beginthreadex|_beginthread|CreateThread|CreateRemoteThread|CreateRemoteThreadEx' | sort -u | tr '\n' ' ' || true)"
if [ -n "$starts" ]; then
  echo "FAIL $dll imports $starts(it must start no thread)"; exit 1
fi
echo "ok $dll: exports $exports; imports $imports; starts no thread"
