# Cross-compiles the same sources for 64-bit Windows with MinGW-w64, so the
# program and samples can be run under 64-bit Wine where 32-bit code cannot run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QV_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${QV_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${QV_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${QV_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
