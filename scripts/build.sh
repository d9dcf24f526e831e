#!/usr/bin/env bash
# Builds the program for Windows (MinGW-w64, 32-bit) and, with "native", the Linux build of the core.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cd "$VRX_ROOT"
case "${1:-win32}" in
  win32)
    cmake -S . -B "$VRX_BUILD/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
    cmake --build "$VRX_BUILD/win32" -j "$VRX_JOBS"
    ;;
  native)
    cmake -S . -B "$VRX_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVRX_BENCH=ON
    cmake --build "$VRX_BUILD/native" -j "$VRX_JOBS"
    ;;
  *) echo "usage: $0 [win32|native]" >&2; exit 2 ;;
esac
