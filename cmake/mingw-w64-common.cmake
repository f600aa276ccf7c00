# What both mingw-w64 toolchain files share once they have set
# VANTREL_MINGW_TRIPLET, CMAKE_SYSTEM_PROCESSOR and VANTREL_WIN32_WINNT.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model: its run-time needs no winpthreads, whose locks and
# clocks import functions that Windows XP lacks. Debian installs it beside the
# posix one; the plain name follows whichever is the system's alternative.
foreach(tool gcc g++)
  if(EXISTS /usr/bin/${VANTREL_MINGW_TRIPLET}-${tool}-win32)
    set(vantrel_${tool} ${VANTREL_MINGW_TRIPLET}-${tool}-win32)
  else()
    set(vantrel_${tool} ${VANTREL_MINGW_TRIPLET}-${tool})
  endif()
endforeach()
set(CMAKE_C_COMPILER ${vantrel_gcc})
set(CMAKE_CXX_COMPILER ${vantrel_g++})
set(CMAKE_RC_COMPILER ${VANTREL_MINGW_TRIPLET}-windres)

# The oldest Windows each build runs on: the system headers then hide every
# function a later Windows added, so using one fails at compile time.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=${VANTREL_WIN32_WINNT} -DWINVER=${VANTREL_WIN32_WINNT}")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=${VANTREL_WIN32_WINNT} -DWINVER=${VANTREL_WIN32_WINNT}")
# Programs carry the C and C++ run-times inside: nothing to copy beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Test programs run under Wine (64-bit only: this Wine runs no 32-bit images).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "AMD64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${VANTREL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
