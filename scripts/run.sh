#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. With no real instrument the simulated one
# (ftd2xx.dll built beside the program) answers, at the real line rate unless VRX_SIM_SCENARIO
# names another scenario file (see sim/README.md). Arguments are passed on: the first may name a
# record file to show.
# On a machine that does not run 32-bit programs (or with VRX_WINDOWS_ARCH=x86_64) it builds and
# starts the 64-bit build under the 64-bit Wine instead.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cd "$VRX_ROOT"
bash scripts/install-deps.sh
vrx_windows_fallback
vrx_say_windows_arch "starting the 64-bit build under the 64-bit Wine"
bash scripts/build.sh "$VRX_WINDOWS_BUILD"
vrx_wine_prefix
bin="$VRX_BUILD/$VRX_WINDOWS_BUILD/bin"
# The program at the pace a lab engineer sees, not at the simulator's instant rate.
export VRX_SIM_SCENARIO=${VRX_SIM_SCENARIO:-$VRX_ROOT/sim/scenarios/real_rate.txt}
if [ -n "${DISPLAY:-}" ]; then
  exec "$VRX_WINE" "$bin/vrx470.exe" "$@"
fi
# No display: a virtual one, with Wine's own desktop drawing the window frames.
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$VRX_WINE" explorer /desktop=vrx,1280x1024 "$bin/vrx470.exe" "$@"
