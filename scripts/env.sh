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

# Creates the Wine prefix once, and on every call gives it the fonts the windows are drawn with;
# a prefix made earlier without them gets them too. Cheap once done: a file test per font and a
# look into the prefix's registry file.
vrx_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    xvfb-run -a "$VRX_WINE" wineboot --init >/dev/null 2>&1 || true
    "$VRX_WINESERVER" -w || true
  fi
  vrx_wine_fonts
}

# Wine's own fonts (package fonts-wine): MS Sans Serif for each code page, Tahoma, Marlett … Debian's
# Wine does not put them into a new prefix, and without them every face falls back to a wider one
# and captions are cut.
VRX_WINE_FONTS=/usr/share/wine/fonts
# The readouts' face, which Wine does not have, and the monospaced face of the machine (package
# fonts-dejavu-core) drawn in its place, so that the readouts keep their digits in place.
VRX_READOUT_FACE="Lucida Console"
VRX_READOUT_STAND_IN="DejaVu Sans Mono"

# Copies Wine's own fonts that the prefix lacks into its Fonts folder, where Wine finds them; a
# file already there is kept. Names the stand-in of the readouts' face in Wine's list of
# replacements, unless the prefix names one already; Wine uses it only while no font of that
# face is installed.
vrx_wine_fonts() {
  local folder="$WINEPREFIX/drive_c/windows/Fonts" font
  if [ -d "$VRX_WINE_FONTS" ]; then
    mkdir -p "$folder"
    for font in "$VRX_WINE_FONTS"/*; do
      [ -e "$folder/${font##*/}" ] || cp "$font" "$folder/"
    done
  else
    echo "== no Wine fonts in $VRX_WINE_FONTS (package fonts-wine): captions will be cut" >&2
  fi
  # The registry file is only read here: Wine's server owns the registry and writes the file
  # itself, so the value goes in through Wine.
  vrx_wine_replaces "$VRX_READOUT_FACE" && return
  "$VRX_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$VRX_READOUT_FACE" \
    /t REG_SZ /d "$VRX_READOUT_STAND_IN" /f >/dev/null 2>&1 ||
    echo "== could not name $VRX_READOUT_STAND_IN for $VRX_READOUT_FACE in $WINEPREFIX" >&2
  # The server that took the value ran without a display: a program started while it still runs
  # would share its desktop and get no keyboard input. Once it ends, the value is in the file too.
  "$VRX_WINESERVER" -w || true
}

# True when the prefix's registry file names a replacement for the face $1.
vrx_wine_replaces() {
  awk -v key='[Software\\\\Wine\\\\Fonts\\\\Replacements]' -v value="\"$1\"=" '
    /^\[/ { inside = index($0, key) == 1; next }
    inside && index($0, value) == 1 { found = 1 }
    END { exit !found }' "$WINEPREFIX/user.reg" 2>/dev/null
}
