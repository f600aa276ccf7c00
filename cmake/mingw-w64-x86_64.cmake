# Cross-building for 64-bit Windows (XP x64 and later) with Debian's mingw-w64
# packages (g++-mingw-w64-x86-64, binutils-mingw-w64-x86-64):
#   cmake -S . -B build-mingw64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VANTREL_MINGW_TRIPLET x86_64-w64-mingw32)
set(VANTREL_WIN32_WINNT 0x0502)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
