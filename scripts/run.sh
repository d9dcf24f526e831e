#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. With no real instrument the simulated one
# (ftd2xx.dll built beside the program) answers; VRX_SIM_SCENARIO may name a scenario file.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cd "$VRX_ROOT"
bash scripts/install-deps.sh
bash scripts/build.sh win32
vrx_wine_prefix
bin="$VRX_BUILD/win32/bin"
if [ -f "$bin/vrx470.exe" ]; then
  display=()
  [ -n "${DISPLAY:-}" ] || display=(xvfb-run -a -s "-screen 0 1280x1024x24")
  exec "${display[@]}" wine "$bin/vrx470.exe" "$@"
fi
# The window program is not built yet: run the link demonstration instead, which loads ftd2xx.dll
# like the program will, connects and takes one reading from the instrument.
echo "vrx470.exe is not built yet; running the instrument link demonstration under Wine."
exec wine "$bin/link_demo.exe" "$@"
