# Cross build for 32-bit Windows: the program the users get.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VRX_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# Tests of the Windows build run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
