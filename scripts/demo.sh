#!/usr/bin/env bash
# Sets everything up, builds, and runs the plug-in in the host stand-in on the
# bundled sample: prints the menu and buttons the stand-in received, then the
# sample before and after "Remove trailing spaces" and "Remove blank lines",
# then after all three whitespace commands, first as they are and then with
# KeepStringLiterals=1 and TabStops=1 in the settings.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh
scripts/build.sh

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r dist/x64 "$work/plugin"          # run from a copy: dist/ holds only what users install
rm "$work/plugin/quillhost.exe"
scripts/wine-run dist/x64/quillhost.exe --plugin "$work/plugin/Quillmendex.dll" \
  --in samples/messy.sql --click 1 --click 3 --out "$work/tidy.sql" --report "$work/report.json"

# All three whitespace commands (TabPosition 4; tabs first, so that no spaces
# they leave at a line's end stay), without settings and then with the two that
# change what they do, in the settings file beside the plug-in.
whitespace() {  # output file
  scripts/wine-run dist/x64/quillhost.exe --plugin "$work/plugin/Quillmendex.dll" --pref TabPosition=4 \
    --in samples/messy.sql --click 2 --click 1 --click 3 --out "$1" >/dev/null
}
rm -f "$work/plugin/Quillmendex.ini"
whitespace "$work/plain.sql"
printf '[Settings]\r\nKeepStringLiterals=1\r\nTabStops=1\r\n' >"$work/plugin/Quillmendex.ini"
whitespace "$work/settings.sql"

show() { sed -e 's/ /·/g' -e 's/\t/→/g' -e 's/\r$/¶/' "$1"; }
echo
echo "--- samples/messy.sql (· space, → tab, ¶ CR LF)"
show samples/messy.sql
echo "--- after Remove trailing spaces and Remove blank lines"
show "$work/tidy.sql"
echo "--- after Replace tab by spaces (TabPosition 4: four spaces a tab), then the other two"
show "$work/plain.sql"
echo "--- the same with KeepStringLiterals=1 and TabStops=1 in Quillmendex.ini:"
echo "    tabs go to the next tab stop, so the declarations stay aligned; the literal keeps its tab"
show "$work/settings.sql"
