# Cross build for 64-bit Windows: the same sources, for machines whose kernel does not run 32-bit
# programs, so that the Windows tests and the program still run there.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VRX_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# Tests run under the 64-bit Wine, called directly: Debian's `wine` script starts the 32-bit loader
# whenever wine32 is installed. The scripts give it a 64-bit prefix of its own (WINEPREFIX).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
