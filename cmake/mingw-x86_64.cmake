# Cross-compiles the same sources for 64-bit Windows with MinGW-w64, so the
# program and samples can be run under 64-bit Wine where 32-bit code cannot run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
