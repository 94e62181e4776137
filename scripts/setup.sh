#!/usr/bin/env bash
# Installs what building and testing need on Debian (as root, or through sudo).
set -euo pipefail
packages=(cmake g++ make googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
          g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64
          wine wine64 clang libclang-rt-14-dev xvfb xauth imagemagick zip locales)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
# 32-bit Wine runs the x86 stand-in and tests. The i386 package index has been
# out of step with the amd64 one before: then setup says so in one line and
# goes on, and scripts/test.sh reports the x86 tests as not run, with the reason
# kept in this file.
cd "$(dirname "$0")/.."
x86_not_run="${QUILL_BUILD_DIR:-build}/x86-not-run"
mkdir -p "$(dirname "$x86_not_run")"
rm -f "$x86_not_run"
wine32=ok
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' || wine32=missing
if [ ${#missing[@]} -gt 0 ] || [ $wine32 = missing ]; then
  echo "Installing: ${missing[*]} $([ $wine32 = missing ] && echo wine32:i386)"
  [ $wine32 = missing ] && { $sudo dpkg --add-architecture i386 || true; }
  $sudo apt-get update -qq || true
  [ ${#missing[@]} -eq 0 ] ||
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  if [ $wine32 = missing ]; then
    log="$(mktemp)"
    if ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends wine32:i386 >"$log" 2>&1; then
      reason="wine32:i386 did not install ($(grep -m 1 '^E:' "$log" || tail -n 1 "$log"))"
      echo "$reason" >"$x86_not_run"
      echo "setup: $reason; the x86 tests will not run"
    fi
    rm -f "$log"
  fi
fi
# Wine takes its ANSI code page from the Unix locale: en_US gives 1252, ja_JP 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$' || ! locale -a 2>/dev/null | grep -qi '^en_US.utf8$'; then
  for l in "en_US.UTF-8 UTF-8" "ja_JP.UTF-8 UTF-8"; do
    grep -q "^$l" /etc/locale.gen 2>/dev/null || echo "$l" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null
fi
