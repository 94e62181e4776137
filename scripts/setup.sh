#!/usr/bin/env bash
# Installs what building and testing need on Debian (as root, or through sudo).
set -euo pipefail
packages=(cmake g++ make googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
          wine wine64 clang libclang-rt-14-dev xvfb xauth imagemagick zip locales)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# Wine takes its ANSI code page from the Unix locale: en_US gives 1252, ja_JP 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$' || ! locale -a 2>/dev/null | grep -qi '^en_US.utf8$'; then
  for l in "en_US.UTF-8 UTF-8" "ja_JP.UTF-8 UTF-8"; do
    grep -q "^$l" /etc/locale.gen 2>/dev/null || echo "$l" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null
fi
