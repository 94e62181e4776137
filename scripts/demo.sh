#!/usr/bin/env bash
# Sets everything up, builds, and runs the plug-in in the host stand-in on the
# bundled sample: prints the menu and buttons the stand-in received, then the
# sample before and after "Remove trailing spaces" and "Remove blank lines".
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

show() { sed -e 's/ /·/g' -e 's/\t/→/g' -e 's/\r$/¶/' "$1"; }
echo
echo "--- samples/messy.sql (· space, → tab, ¶ CR LF)"
show samples/messy.sql
echo "--- after Remove trailing spaces and Remove blank lines"
show "$work/tidy.sql"
