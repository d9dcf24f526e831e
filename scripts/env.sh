# Common settings of the build, test and run scripts (sourced).
VRX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VRX_BUILD=${VRX_BUILD:-$VRX_ROOT/build}
VRX_JOBS=${VRX_JOBS:-$(nproc)}
# A Wine prefix of the project's own, so nothing depends on the user's ~/.wine.
export WINEPREFIX=${WINEPREFIX:-$VRX_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine shows the Russian texts only under a Cyrillic locale.
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8

# Creates the Wine prefix once; later calls find it ready.
vrx_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    xvfb-run -a wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}
