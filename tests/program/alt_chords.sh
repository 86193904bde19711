#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on an X server of its own, played with keys pressed while Alt is held: they
# quit nothing and leave no title, the recording writes them as `=KEY`, and vane-sim runs the
# recording to the very frame the live run ended on. Skipped (77) where Xvfb, xwininfo or xdotool
# is missing.
# usage: alt_chords.sh VANE VANE_SIM DATA_DIR
set -uo pipefail
vane=$1
sim=$2
data=$3
for tool in Xvfb xwininfo xdotool; do command -v "$tool" >/dev/null || exit 77; done
. "$(dirname "$0")/private_x.sh"
  SDL_AUDIODRIVER=dummy

"$vane" --window --data "$data" --record "$work/run.keys" 2>"$work/err" &
game=$!
for _ in $(seq 50); do
  xwininfo -name VANE 2>/dev/null | grep -q IsViewable && break
  sleep 0.1
done
sleep 1
# Each key held for a few frames, so the frames see it held.
chord() {
  xdotool keydown alt
  for key in "$@"; do
    xdotool keydown "$key" sleep 0.2 keyup "$key"
  done
  xdotool keyup alt
}
chord Escape z
sleep 0.5
kill -0 $game 2>/dev/null || { echo "FAIL Alt+Escape ended the game"; exit 1; }
xdotool key Return
sleep 0.5
chord Down Escape
sleep 0.5
xdotool key Escape
for _ in $(seq 50); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
wait $game
status=$?
game=""
[ $status -eq 0 ] || { echo "FAIL the game ended with status $status"; cat "$work/err"; exit 1; }
for token in =18 =ESCAPE =Z =DOWN; do
  grep -q -- " $token\b" "$work/run.keys" || { echo "FAIL no $token in:"; cat "$work/run.keys"; exit 1; }
done
# The last line is the frame that never ran: Escape ended the run before it.
last=$(tail -n 1 "$work/run.keys" | cut -d' ' -f1)
frames=$("$sim" --data "$data" --input "$work/run.keys" --trace - | wc -l)
if [ "$frames" -ne $((last - 1)) ]; then
  echo "FAIL vane-sim ran $frames frames of the recording, the live run $((last - 1))"
  cat "$work/run.keys"
  exit 1
fi
echo "ok   vane-sim ran the recording's $frames frames"
