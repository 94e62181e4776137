#!/usr/bin/env bash
# Screenshots of the host stand-in's window for people, taken under Xvfb:
#   docs/host-edit-menu.png   the window with Edit / Quillmendex open
#   docs/host-toolbar.png     the toolbar, the first button's caption as its tooltip
#   docs/host-before.png      the sample, all selected (the selection shows the spaces)
#   docs/host-after.png       the same after the three whitespace buttons, all selected
#   docs/host-about.png       the About window, opened from that menu (made only
#                             when the plug-in shows a window there)
#   scripts/screenshots-host.sh [QUILLHOST OPTIONS...]   e.g. --in FILE, --window-type 0
# Run scripts/build.sh first. The plug-in runs from a temporary copy of the build
# tree's plugin folder, in a Wine prefix of its own that draws on the X display;
# xdotool opens the menus. Installs Xvfb, xdotool and ImageMagick when missing.
#   QUILL_BUILD_DIR   build tree (default build)
#   QUILL_SHOTS_DIR   where the PNGs go (default docs)
set -euo pipefail
source "$(dirname "$0")/shots-lib.sh"
export QUILL_WINEPREFIX="${QUILL_SHOTS_WINEPREFIX:-/tmp/quillmendex-shots-$(id -u)}"
export QUILL_WINE_TIMEOUT=180
shots_begin host quillhost.exe xdotool:xdotool
cp "$b/x64/plugin/"*.bmp "$work/plugin/"
host=""
shots_kill host

# A free display number.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
shots_xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done

# Wine's own desktop draws title bars and frames, as Windows would.
scripts/wine-run explorer /desktop=quill,960x700 "$(winpath "$b/x64/quillhost.exe")" \
  --plugin "$(winpath "$work/plugin/Quillmendex.dll")" "$@" >/dev/null 2>&1 &
host=$!
desk=""
for _ in $(seq 300); do
  desk="$(xdotool search --name 'quill' 2>/dev/null | head -1 || true)"
  [ -n "$desk" ] && break
  sleep 0.5
done
if [ -z "$desk" ]; then
  echo "screenshots-host.sh: the stand-in's window did not appear" >&2
  exit 1
fi
sleep 4  # the plug-in loads, the window paints

key() { xdotool key "$@"; sleep 0.6; }
shot() {  # name [WxH]: the desktop, cut to what differs from its background
  import -window root -crop 960x700+0+0 +repage "$work/raw.png"
  convert "$work/raw.png" -trim +repage ${2:+-crop "$2+0+0" +repage} -strip "$shots/$1"
  echo "$shots/$1"
}
mkdir -p "$shots"

# Where the stand-in's window lies on the desktop: what differs from the background.
import -window root -crop 960x700+0+0 +repage "$work/raw.png"
read -r wx wy < <(convert "$work/raw.png" -trim -format '%X %Y\n' info: | tr -d '+')
click() { xdotool mousemove $((wx + $1)) $((wy + $2)) click 1; sleep 0.8; }

# Edit menu (a click on "Edit"), then the submenu Quillmendex, its last item.
click 47 33
key Up
key Right
shot host-edit-menu.png
key Escape Escape Escape
sleep 0.5

# The first tool button, with the mouse resting on it.
xdotool mousemove $((wx + 18)) $((wy + 58))
sleep 2.5
shot host-toolbar.png
xdotool mousemove $((wx + 600)) $((wy + 500))
sleep 0.5

# Before and after the three whitespace commands, all text selected.
select_all() { click 47 33; click 73 126; }
select_all
shot host-before.png 900x350
# Tabs first, so that no tab at a line's end is left as trailing spaces.
for button in 2 1 3; do click $((18 + 31 * (button - 1))) 58; done
select_all
shot host-after.png 900x350
click 300 500

# About: the last item of the Quillmendex submenu. A blinking caret is no window:
# only a change of many pixels counts.
import -window root -crop 960x700+0+0 +repage "$work/before.png"
click 47 33
key Up
key Right
key Up
key Return
sleep 2
import -window root -crop 960x700+0+0 +repage "$work/after.png"
changed="$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)"
if [ "${changed%%.*}" -gt 2000 ] 2>/dev/null; then
  shot host-about.png
  key Escape
else
  echo "screenshots-host.sh: no About window appeared; host-about.png not made" >&2
fi
