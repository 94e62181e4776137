#!/usr/bin/env bash
# Screenshots of the About window and the settings dialog, taken under Xvfb:
#   docs/about.png            as it opens: picture, the three labels, Info and Close
#   docs/about-scrolling.png  after Info: the information text rising
#   docs/settings.png         the settings dialog that Configure opens
#   scripts/screenshots-about.sh
# Run scripts/build.sh first. The real Quillmendex.dll runs from a temporary
# copy, loaded by the small driver aboutshot.exe (about/testdata/aboutshot.c),
# in a Wine prefix of its own that draws on the X display inside Wine's own
# desktop (which draws title bars and frames as Windows would). Installs Xvfb
# and ImageMagick when missing.
#   QUILL_BUILD_DIR   build tree (default build)
#   QUILL_SHOTS_DIR   where the PNGs go (default docs)
#   QUILL_SHOTS_DPI   the screen's dots per inch (default 96; e.g. 144 shows the
#                     window scaled by 1.5), in a prefix of its own per value
set -euo pipefail
source "$(dirname "$0")/shots-lib.sh"
dpi="${QUILL_SHOTS_DPI:-96}"
export QUILL_WINEPREFIX="${QUILL_ABOUT_WINEPREFIX:-/tmp/quillmendex-about-shots-$dpi-$(id -u)}"
export QUILL_WINE_TIMEOUT=120
shots_begin about aboutshot.exe
driver=""
shots_kill driver
if [ "$dpi" != 96 ]; then
  scripts/wine-run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  WINEPREFIX="$QUILL_WINEPREFIX" timeout 30 wineserver -k 2>/dev/null || true
fi
width=$((640 * dpi / 96)) height=$((400 * dpi / 96))

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
shots_xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.2; done
[ -s "$work/display" ] || { echo "screenshots-about.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"

scripts/wine-run explorer "/desktop=about,${width}x${height}" "$(winpath "$b/x64/aboutshot.exe")" \
  "$(winpath "$work/plugin/Quillmendex.dll")" "$(winpath "$work")" >/dev/null 2>&1 &
driver=$!

mkdir -p "$shots"
# name, ready file: waits for the driver, then cuts the window out of the screen.
shot() {
  for _ in $(seq 600); do [ -s "$work/$2.ready" ] && break; sleep 0.2; done
  if [ ! -s "$work/$2.ready" ]; then
    echo "screenshots-about.sh: the window did not reach '$2'" >&2
    exit 1
  fi
  read -r left top right bottom < "$work/$2.ready"
  import -window root "$work/raw.png"
  convert "$work/raw.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shots/$1"
  echo "$shots/$1"
  touch "$work/$2.done"
}
shot about.png labels
shot about-scrolling.png scrolling
wait "$driver"
driver=""

# The settings dialog, over a settings file with KeepStringLiterals on.
printf '[Settings]\r\nKeepStringLiterals=1\r\n' > "$work/plugin/Quillmendex.ini"
scripts/wine-run explorer "/desktop=about,${width}x${height}" "$(winpath "$b/x64/aboutshot.exe")" \
  "$(winpath "$work/plugin/Quillmendex.dll")" "$(winpath "$work")" settings >/dev/null 2>&1 &
driver=$!
shot settings.png settings
wait "$driver"
driver=""
