# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads).
# Everything is linked statically, so the programs need no DLL beyond those
# Windows ships.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TEILOMAT_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TEILOMAT_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEILOMAT_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TEILOMAT_MINGW}-windres)

# Libraries and headers come from the mingw sysroot only; programs (the
# resource compiler, makensis) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TEILOMAT_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The programs run under wine; cmake/CrossWindows.cmake sets that up.
