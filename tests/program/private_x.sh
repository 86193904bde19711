# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the program scripts: a work folder and an X server of the script's own, the game's
# config and kept runs in that folder, both gone on exit (after `leave_extra`, when defined).
work=$(mktemp -d)
# -noreset: as its last client leaves the server resets, refusing for that moment the next one.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb=$!
game=""
trap 'kill $game $xvfb 2>/dev/null; declare -F leave_extra >/dev/null && leave_extra; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display") XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  SDL_AUDIODRIVER=dummy
