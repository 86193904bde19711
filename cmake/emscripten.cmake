# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for the browser (and node) with Debian's emscripten: its sysroot holds libc,
# libc++ and the browser's own APIs, and nothing else can be linked (its cache is frozen).
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# em++ runs its JavaScript passes under node when it links, and node finds Debian's acorn only
# through NODE_PATH: every link is started with it, however the build is started.
set(ENV{NODE_PATH} /usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
