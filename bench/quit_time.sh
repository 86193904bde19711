#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How long the real program takes to end on SIGTERM during a stage with sound, on a private X
# server: RUNS times, then the median and the longest, in milliseconds.
# usage: bench/quit_time.sh VANE DATA_DIR [RUNS]   (SDL_AUDIODRIVER picks the sound driver: dummy)
set -euo pipefail
vane=$1
data=$2
runs=${3:-20}
work=$(mktemp -d)
# -noreset: as its last client leaves the server resets, refusing for that moment the next one.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display") XDG_CONFIG_HOME=$work/config
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# A golden run to stage 1, with the seed line the program asks of a replay.
{ echo "# seed 7"; grep -v '^#' "$(dirname "$0")/../tests/golden/stage1-ship1.keys"; } >"$work/stage.keys"
for _ in $(seq "$runs"); do
  "$vane" --window --data "$data" --replay "$work/stage.keys" 2>/dev/null &
  pid=$!
  sleep 3 # in the stage, music and effects playing
  sent=$(date +%s%N)
  kill -TERM $pid
  wait $pid || true
  echo $((($(date +%s%N) - sent) / 1000000))
done | sort -n | awk '{ t[NR] = $1 } END { printf "SIGTERM to exit: median %d ms, longest %d ms over %d runs\n", t[int((NR + 1) / 2)], t[NR], NR }'
