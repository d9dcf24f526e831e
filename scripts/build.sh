#!/usr/bin/env bash
# Builds the program for Windows (MinGW-w64): "win32", the 32-bit program the users get (the
# default), or "win64", the same sources for 64-bit Windows; with "native", the Linux build of the
# core and the benchmarks.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cd "$VRX_ROOT"
what=${1:-win32}
case "$what" in
  win32 | win64)
    cmake -S . -B "$VRX_BUILD/$what" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$(vrx_toolchain "$what")"
    cmake --build "$VRX_BUILD/$what" -j "$VRX_JOBS"
    ;;
  native)
    cmake -S . -B "$VRX_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVRX_BENCH=ON
    cmake --build "$VRX_BUILD/native" -j "$VRX_JOBS"
    ;;
  *) echo "usage: $0 [win32|win64|native]" >&2; exit 2 ;;
esac
