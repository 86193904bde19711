# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, for
# std::thread and std::mutex); programs run here under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(vane_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${vane_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${vane_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${vane_mingw}-windres)

# Libraries and headers of the target only from the MinGW tree; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${vane_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their C and C++ runtimes and the thread library inside them, so that a
# player needs nothing but the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The test suite runs its Windows programs here through wine.
find_program(VANE_WINE NAMES wine64 wine HINTS /usr/lib/wine)
if(VANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VANE_WINE})
endif()

# zlib linked in too, not through its DLL.
set(ZLIB_USE_STATIC_LIBS ON)
