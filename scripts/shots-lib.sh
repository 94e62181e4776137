# Shared by the screenshot scripts (sourced, not run): what they need installed,
# the build they need, a Wine prefix that draws on the X display, clean-up.
#   shots_begin NAME PROGRAM COMMAND:PACKAGE...   e.g. shots_begin host quillhost.exe xdotool:xdotool
# sets root, b (the build tree), shots (where PNGs go) and work (a temporary
# folder holding plugin/, a copy of the build's DLL); the caller sets
# QUILL_WINEPREFIX first. shots_kill PIDVAR... names the background processes to
# stop at exit.

shots_pids=()
shots_xvfb=""
shots_cleanup() {
  local p
  for p in "${shots_pids[@]}"; do [ -n "${!p:-}" ] && kill "${!p}" 2>/dev/null || true; done
  WINEPREFIX="$QUILL_WINEPREFIX" timeout 30 wineserver -k 2>/dev/null || true
  [ -n "$shots_xvfb" ] && kill "$shots_xvfb" 2>/dev/null || true
  rm -rf "$work"
}

shots_begin() {
  local name="$1" program="$2"; shift 2
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  cd "$root"
  b="${QUILL_BUILD_DIR:-build}"
  shots="${QUILL_SHOTS_DIR:-docs}"
  case "$b" in /*) ;; *) b="$root/$b" ;; esac

  local missing=() need
  command -v Xvfb >/dev/null || missing+=(xvfb xauth)
  command -v import >/dev/null || missing+=(imagemagick)
  [ -f /usr/share/wine/fonts/marlett.ttf ] || missing+=(fonts-wine)  # caption buttons
  for need in "$@"; do command -v "${need%%:*}" >/dev/null || missing+=("${need#*:}"); done
  if [ ${#missing[@]} -gt 0 ]; then
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if [ ! -f "$b/x64/$program" ] || [ ! -f "$b/x64/plugin/Quillmendex.dll" ]; then
    echo "screenshots-$name.sh: no build in $b (run scripts/build.sh)" >&2
    exit 1
  fi

  work="$(mktemp -d)"
  export QUILL_WINE_GRAPHICS=x11
  export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
  trap shots_cleanup EXIT
  mkdir "$work/plugin"
  cp "$b/x64/plugin/Quillmendex.dll" "$work/plugin/"

  # Wine draws the caption buttons with its Marlett font, which a fresh prefix
  # may not find by itself: put it into the prefix's font folder.
  if [ ! -f "$QUILL_WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    scripts/wine-run wineboot -u >/dev/null 2>&1 || true
    local f
    for f in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
      if [ -f "$f" ]; then
        mkdir -p "$QUILL_WINEPREFIX/drive_c/windows/Fonts"
        cp "$f" "$QUILL_WINEPREFIX/drive_c/windows/Fonts/"
        break
      fi
    done
    WINEPREFIX="$QUILL_WINEPREFIX" timeout 30 wineserver -k 2>/dev/null || true
  fi
}

shots_kill() { shots_pids+=("$@"); }

winpath() { echo "Z:$1" | tr / '\\'; }
