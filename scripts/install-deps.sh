#!/usr/bin/env bash
# Installs everything the build, the tests and the Wine run need on a fresh Debian machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail
source "$(dirname "$0")/env.sh"

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# Both Windows builds are compiled on every machine, so the 64-bit compiler and Wine are always
# here; the 32-bit Wine and its i386 packages only where the machine can run them.
packages=(cmake ninja-build g++ clang googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 xvfb xauth imagemagick x11-apps
  locales fonts-dejavu-core fonts-wine clang-format xdotool)
if [ "$VRX_WINDOWS_ARCH" = i686 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  packages+=(wine wine32:i386)
else
  vrx_say_windows_arch "installing the 64-bit Wine only, no i386 packages"
fi

for p in "${packages[@]}"; do
  have "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# Wine shows the Russian texts only under a Cyrillic locale.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
fi
