#!/usr/bin/env bash
# Installs everything the build, the tests and the Wine run need on a fresh Debian machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail
source "$(dirname "$0")/env.sh"

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# Both Windows builds are compiled on every machine, so the 64-bit compiler and Wine are always
# here; the 32-bit Wine and its i386 packages only where the machine can run them.
packages=(cmake ninja-build g++ clang googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 xvfb xauth imagemagick x11-apps
  locales fonts-dejavu-core fonts-wine clang-format xdotool)
i386_packages=()
if [ "$VRX_WINDOWS_ARCH" = i686 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  i386_packages=(wine wine32:i386)
else
  vrx_say_windows_arch "installing the 64-bit Wine only, no i386 packages"
fi

missing() {
  local p
  for p in "$@"; do
    have "$p" || echo "$p"
  done
}
mapfile -t need < <(missing "${packages[@]}")
mapfile -t need_i386 < <(missing "${i386_packages[@]}")

if [ $((${#need[@]} + ${#need_i386[@]})) -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught in the middle of a sync fails an index now and then: try again, and go on
  # with what could be fetched.
  for attempt in 1 2 3; do
    $SUDO apt-get update -qq && break
    echo "apt-get update failed (attempt $attempt of 3)" >&2
    [ "$attempt" -eq 3 ] || sleep 10
  done
  if [ ${#need[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
  fi
  # The 32-bit Wine needs the i386 packages in step with the installed ones; where the mirror
  # cannot give them, the scripts take the 64-bit path (vrx_windows_fallback in env.sh).
  if [ ${#need_i386[@]} -gt 0 ] &&
    ! $SUDO apt-get install -y -qq --no-install-recommends "${need_i386[@]}"; then
    # Asked for by name, the 32-bit path has no other way.
    [ "${VRX_WINDOWS_WHY#VRX_WINDOWS_ARCH}" = "$VRX_WINDOWS_WHY" ] || exit 1
    echo "== the 32-bit Wine could not be installed; the Windows tests take the 64-bit build" >&2
  fi
fi

# Wine shows the Russian texts only under a Cyrillic locale.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
fi
