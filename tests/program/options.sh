#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on an X server of its own, at half speed, with the fire action on X: X fires
# and Shift no longer does; F1 opens the options over the stage, the picture behind stands still
# and no key reaches the game until Escape closes them; F12 then saves a screenshot. vane-sim
# runs the recording (at full speed) to the frame the live run ended on, and its picture of the
# screenshot's frame equals the screenshot, pixel for pixel. Skipped (77) where Xvfb, xwininfo,
# xdotool or ImageMagick is missing.
# usage: options.sh VANE VANE_SIM DATA_DIR
set -uo pipefail
vane=$1
sim=$2
data=$3
for tool in Xvfb xwininfo xdotool import convert compare; do command -v "$tool" >/dev/null || exit 77; done
. "$(dirname "$0")/private_x.sh"
  SDL_AUDIODRIVER=dummy
mkdir -p "$work/config/vane"
printf '# mine\nkey_fire = x\ngame_speed = 50\nscreenshot_dir = %s\n' "$work/shots" \
  >"$work/config/vane/vane.conf"
fail() { echo "FAIL $*"; cat "$work/err"; cat "$work/run.keys" 2>/dev/null; exit 1; }

"$vane" --window --data "$data" --record "$work/run.keys" 2>"$work/err" &
game=$!
for _ in $(seq 50); do
  xwininfo -name VANE 2>/dev/null | grep -q IsViewable && break
  sleep 0.1
done
sleep 1
# Each key held for a few frames (of 50 ms), so the frames see it held.
press() { xdotool keydown "$1" sleep 0.25 keyup "$1" sleep 0.25; }
press space
press space
sleep 1
press Down
press Down
press Return
sleep 1.5
press x
press shift
press F1
window=$(xwininfo -name VANE | awk '/Window id:/ {print $4}')
import -window "$window" "$work/open-1.png"
# Controls: Fire takes Z by capture, and Special attack, which had it, takes X.
press Tab
press Tab
for _ in 1 2 3 4 5; do press Down; done
press Return
press z
sleep 0.5
import -window "$window" "$work/open-2.png"
press Escape
sleep 0.5
kill -0 $game 2>/dev/null || fail "Escape closing the options ended the game"
press z
press F12
sleep 0.5
xdotool key Escape
for _ in $(seq 50); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
wait $game
status=$?
game=""
[ $status -eq 0 ] || fail "the game ended with status $status"

# The picture behind the options (left of their panel) stood still while keys were pressed on them.
for i in 1 2; do convert "$work/open-$i.png" -crop 70x480+0+0 +repage "$work/behind-$i.png"; done
[ "$(compare -metric AE "$work/behind-1.png" "$work/behind-2.png" null: 2>&1)" = 0 ] ||
  fail "the picture changed while the options were open"
# X was fire, Shift nothing, then Z fire: two presses of SHIFT, none of Z; the options' keys
# never reached the game.
presses=$(grep -c ' SHIFT' "$work/run.keys")
[ "$presses" -eq 2 ] || fail "$presses presses of fire recorded, not 2"
grep -Eq ' (Z|TAB|9)\b' "$work/run.keys" && fail "a key pressed on the options reached the game"
grep -q '^key_fire = z$' "$work/config/vane/vane.conf" &&
  grep -q '^key_special = x$' "$work/config/vane/vane.conf" ||
  fail "the swapped keys were not saved: $(cat "$work/config/vane/vane.conf")"
[ -n "${VANE_SHOTS:-}" ] && cp "$work/open-2.png" "$VANE_SHOTS/controls-swapped.png"
[ "$(grep -c ESCAPE "$work/run.keys")" -eq 1 ] || fail "the Escape closing the options reached the game"
grep -q '^# mine$' "$work/config/vane/vane.conf" || fail "the player's comment was lost"

shot=$(ls "$work/shots")
[[ $shot =~ ^vane-[0-9]{8}-[0-9]{6}-([0-9]{6})\.png$ ]] || fail "screenshot named '$shot'"
frame=${BASH_REMATCH[1]}
last=$(tail -n 1 "$work/run.keys" | cut -d' ' -f1)
mkdir "$work/sim"
frames=$("$sim" --data "$data" --input "$work/run.keys" --png "$work/sim" --trace - | wc -l)
[ "$frames" -eq $((last - 1)) ] ||
  fail "vane-sim ran $frames frames of the recording, the live run $((last - 1))"
differ=$(compare -metric AE "$work/shots/$shot" "$work/sim/frame-$frame.png" null: 2>&1)
[ "$differ" = 0 ] || fail "the screenshot differs from vane-sim's frame $frame in $differ pixels"
echo "ok   the recording across the options replays to its $frames frames; the screenshot of frame $frame is vane-sim's"
