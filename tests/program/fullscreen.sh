#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on an X server of its own with no window manager: the full-screen window is
# shown over the whole screen, F11 makes it a window in the middle and F11 again full screen; a
# window the config asks to be wider than the screen fits wholly on it, and that size is kept.
# Skipped (77) where Xvfb, xwininfo or xdotool is missing.
# usage: fullscreen.sh VANE DATA_DIR
set -uo pipefail
vane=$1
data=$2
for tool in Xvfb xwininfo xdotool; do command -v "$tool" >/dev/null || exit 77; done
. "$(dirname "$0")/private_x.sh"
  SDL_AUDIODRIVER=dummy
failed=0

# The geometry (WxH+X+Y) of the game's window while it is shown; empty otherwise.
shown() {
  xwininfo -name VANE 2>/dev/null | awk '/Map State:/ { state = $3 } /-geometry/ { at = $2 }
    END { if (state == "IsViewable") print at }'
}

# Waits up to twenty seconds (a busy machine starts the game slowly) for the window to be shown
# at `geometry`.
expect() {
  local geometry=$1 what=$2
  for _ in $(seq 200); do
    [ "$(shown)" = "$geometry" ] && { echo "ok   $what: $geometry"; return; }
    sleep 0.1
  done
  echo "FAIL $what: shown as '$(shown)', expected $geometry"
  failed=1
}

"$vane" --data "$data" 2>"$work/err" &
game=$!
expect 1024x768+0+0 "full screen at the start"
xdotool key F11
expect 640x480+192+144 "a window after F11"
xdotool key F11
expect 1024x768+0+0 "full screen after F11 again"
xdotool key Escape
wait $game

printf 'window_mode = window\nwindow_size = 1366x749\n' >"$XDG_CONFIG_HOME/vane/vane.conf"
"$vane" --data "$data" 2>>"$work/err" &
game=$!
expect 1024x749+0+9 "a window from a config size wider than the screen"
xdotool key Escape
wait $game
if grep -qx 'window_size = 1024x749' "$XDG_CONFIG_HOME/vane/vane.conf"; then
  echo "ok   the size written back: 1024x749"
else
  echo "FAIL the size written back: $(grep window_size "$XDG_CONFIG_HOME/vane/vane.conf")"
  failed=1
fi
# What the game said, when something went wrong.
[ "$failed" = 0 ] || sed 's/^/     /' "$work/err"
exit $failed
