#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build's test suite under wine64, in a fresh wine prefix made for this run and removed
# after it (wineboot -i: about 12 s). Arguments go to ctest ("-LE slow" for the sample CI runs).
# Usage: run_suite.sh [CTEST_ARGUMENT...]   (from the source tree, after the windows preset built)
set -eu
PATH=/usr/lib/wine:$PATH
WINEPREFIX=$(mktemp -d)
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export PATH WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
# One server for the whole run, started before anything else: one that ends when idle races the
# next program connecting to it ("wine client error: recvmsg: Connection reset by peer").
wineserver -p
wine64 wineboot -i >/dev/null 2>&1
ctest --preset windows -j 2 "$@"
