# Common settings of the build, test and run scripts (sourced).
VRX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VRX_BUILD=${VRX_BUILD:-$VRX_ROOT/build}
VRX_JOBS=${VRX_JOBS:-$(nproc)}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine shows the Russian texts only under a Cyrillic locale.
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8

# True when this machine's kernel runs 32-bit x86 programs: it starts a 96-byte 32-bit program
# (one ELF header, one program header, then exit(42) through int 0x80). Written into the build
# folder, not /tmp, which may forbid running programs.
vrx_runs_32bit() {
  mkdir -p "$VRX_BUILD"
  local probe="$VRX_BUILD/.runs-32bit-probe"
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00%b%b%b%b' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00' \
    '\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00' \
    '\x05\x00\x00\x00\x00\x10\x00\x00\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local rc=0
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" -eq 42 ]
}

# Which Windows build runs the tests and the program here, decided once and handed on to the
# scripts started from here: i686, the program the users get, where the machine runs 32-bit
# programs; x86_64, the same sources for 64-bit Windows under the 64-bit Wine, where it does not.
# VRX_WINDOWS_ARCH=x86_64 makes any machine take the 64-bit path.
if [ -z "${VRX_WINDOWS_WHY:-}" ]; then
  case "${VRX_WINDOWS_ARCH:-}" in
    "")
      if vrx_runs_32bit; then
        VRX_WINDOWS_ARCH=i686 VRX_WINDOWS_WHY="this machine runs 32-bit programs"
      else
        VRX_WINDOWS_ARCH=x86_64
        VRX_WINDOWS_WHY="this machine does not run 32-bit programs (a 32-bit test program failed to start)"
      fi
      ;;
    i686 | x86_64) VRX_WINDOWS_WHY="VRX_WINDOWS_ARCH=$VRX_WINDOWS_ARCH is set" ;;
    *)
      echo "VRX_WINDOWS_ARCH must be i686 or x86_64, not \"$VRX_WINDOWS_ARCH\"" >&2
      exit 2
      ;;
  esac
  export VRX_WINDOWS_ARCH VRX_WINDOWS_WHY
fi

# The build folder, the Wine and the Wine prefix of that build. Debian's `wine` and `wineserver`
# scripts pick the 32-bit loader whenever wine32 is installed, so the 64-bit ones are called by
# their own names, with a 64-bit prefix of their own. Both prefixes are the project's own, so
# nothing depends on the user's ~/.wine; a WINEPREFIX set by the caller is kept.
VRX_CALLERS_PREFIX=${VRX_CALLERS_PREFIX-${WINEPREFIX:-}}
vrx_windows_settings() {
  if [ "$VRX_WINDOWS_ARCH" = i686 ]; then
    VRX_WINDOWS_BUILD=win32 VRX_WINE=wine VRX_WINESERVER=wineserver
    export WINEPREFIX=${VRX_CALLERS_PREFIX:-$VRX_BUILD/wineprefix}
    unset WINEARCH
  else
    VRX_WINDOWS_BUILD=win64 VRX_WINE=/usr/lib/wine/wine64 VRX_WINESERVER=/usr/lib/wine/wineserver64
    export WINEPREFIX=${VRX_CALLERS_PREFIX:-$VRX_BUILD/wineprefix64} WINEARCH=win64
  fi
}
vrx_windows_settings

# Called once the packages are installed: where the machine runs 32-bit programs but the 32-bit
# Wine could not be installed (a Debian mirror whose i386 index is out of step, say), the 64-bit
# path is taken rather than no Windows tests at all. A path asked for by name is kept.
vrx_windows_fallback() {
  if [ "$VRX_WINDOWS_ARCH" = i686 ] && [ "${VRX_WINDOWS_WHY#VRX_WINDOWS_ARCH}" = "$VRX_WINDOWS_WHY" ] &&
    ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
    VRX_WINDOWS_ARCH=x86_64
    VRX_WINDOWS_WHY="the 32-bit Wine (wine32:i386) could not be installed on this machine"
    export VRX_WINDOWS_ARCH VRX_WINDOWS_WHY
    vrx_windows_settings
  fi
}

# Says, on the 64-bit path, in one line what a part of a script does instead and why.
vrx_say_windows_arch() {
  [ "$VRX_WINDOWS_ARCH" = i686 ] || echo "== $1, because $VRX_WINDOWS_WHY"
}

# The toolchain file of a Windows build folder (win32 or win64).
vrx_toolchain() {
  case "$1" in
    win32) echo cmake/mingw-i686.cmake ;;
    win64) echo cmake/mingw-x86_64.cmake ;;
  esac
}

# Creates the Wine prefix once; later calls find it ready.
vrx_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    xvfb-run -a "$VRX_WINE" wineboot --init >/dev/null 2>&1 || true
    "$VRX_WINESERVER" -w || true
  fi
}
