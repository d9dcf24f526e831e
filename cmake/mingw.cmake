# What both Windows cross builds share (MinGW-w64, posix threads model); the toolchain file of
# each build sets VRX_MINGW_TARGET to its compiler prefix and includes this.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VRX_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VRX_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${VRX_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VRX_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
