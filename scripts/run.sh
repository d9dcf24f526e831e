#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. With no real instrument the simulated one
# (ftd2xx.dll built beside the program) answers; VRX_SIM_SCENARIO may name a scenario file (see
# sim/README.md). Arguments are passed on: the first may name a record file to show.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cd "$VRX_ROOT"
bash scripts/install-deps.sh
bash scripts/build.sh win32
vrx_wine_prefix
bin="$VRX_BUILD/win32/bin"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$bin/vrx470.exe" "$@"
fi
# No display: a virtual one, with Wine's own desktop drawing the window frames.
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  wine explorer /desktop=vrx,1280x1024 "$bin/vrx470.exe" "$@"
