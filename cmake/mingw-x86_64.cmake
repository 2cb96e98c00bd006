# Cross-compiles the 64-bit test drivers, which start the 32-bit program
# under Wine, with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
