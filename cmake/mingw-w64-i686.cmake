# Cross-building for 32-bit Windows (XP and later) with Debian's mingw-w64
# packages (g++-mingw-w64-i686, binutils-mingw-w64-i686):
#   cmake -S . -B build-mingw32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VANTREL_MINGW_TRIPLET i686-w64-mingw32)
set(VANTREL_WIN32_WINNT 0x0501)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
