#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on an X server of its own, a stage played and left without any option: a
# version-2 replay of it is kept and its proven score is in records.txt; vane-sim --verify agrees
# with the replay and not with it once a key is changed. Then a read-only replays folder and a
# full disk: the game plays to its end, one warning, no partial file. Skipped (77) where Xvfb,
# xwininfo or xdotool is missing.
# usage: kept_runs.sh VANE VANE_SIM DATA_DIR
set -uo pipefail
vane=$1
sim=$2
data=$3
for tool in Xvfb xwininfo xdotool; do command -v "$tool" >/dev/null || exit 77; done
leave_extra() { umount "$work/full" 2>/dev/null; }
. "$(dirname "$0")/private_x.sh"
fail() { echo "FAIL $*"; exit 1; }

# Plays into stage 1 from the menu, fires for eight seconds, and quits with Escape; the exit status.
play_a_stage() {
  XDG_DATA_HOME=$1 ${as_user:-} "$vane" --window --data "$data" 2>"$work/err" &
  game=$!
  for _ in $(seq 50); do
    xwininfo -name VANE 2>/dev/null | grep -q IsViewable && break
    sleep 0.1
  done
  sleep 0.5
  # Each key held for a few frames, so the frames see it held.
  for key in Return Return; do xdotool keydown $key sleep 0.15 keyup $key sleep 0.3; done
  sleep 1.5
  for key in Down Down Return; do xdotool keydown $key sleep 0.15 keyup $key sleep 0.2; done
  sleep 0.5
  # Past the first check line at frame 250.
  xdotool keydown z sleep 0.3 keydown Left sleep 1 keyup Left sleep 1 keydown Up sleep 1 keyup Up
  xdotool sleep 4.5 keyup z
  xdotool key Escape
  for _ in $(seq 100); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
  wait $game
  local status=$?
  game=""
  return $status
}

play_a_stage "$work/share" || fail "the game ended with status $?: $(cat "$work/err")"
replays=$work/share/vane/replays
replay=$(ls "$replays"/*.keys 2>/dev/null | head -n 1)
[ -n "$replay" ] || fail "no replay kept in $replays; stderr: $(cat "$work/err")"
grep -q '^# vane replay 2$' "$replay" || fail "not a version-2 replay: $(head -n 3 "$replay")"
grep -q '^# start stage 1 ship 1' "$replay" || fail "not the stage: $(head -n 6 "$replay")"
grep -q '^stage 1 ship 1 score .* replay '"$(basename "$replay")"'$' "$replays/records.txt" ||
  fail "no records line: $(cat "$replays/records.txt" 2>&1)"
"$sim" --data "$data" --verify "$replay" >"$work/out" || fail "vane-sim --verify: $(cat "$work/out")"
echo "ok   kept $(basename "$replay"), verified: $(cat "$work/out")"
# One key changed: Left held becomes Right held.
sed '0,/ LEFT/s// RIGHT/' "$replay" >"$work/changed.keys"
"$sim" --data "$data" --verify "$work/changed.keys" >"$work/out"
status=$?
[ $status -eq 1 ] && grep -q 'first mismatch: frame [0-9]' "$work/out" ||
  fail "the changed replay: status $status, $(cat "$work/out")"
echo "ok   one key changed: $(cat "$work/out")"

# A read-only folder and a full disk: one warning each, the game ends as usual, nothing left.
if [ "$(id -u)" = 0 ]; then
  mkdir -p "$work/full" && mount -t tmpfs -o size=64k tmpfs "$work/full" || exit 0
  mkdir -p "$work/full/vane/replays"
  dd if=/dev/zero of="$work/full/filler" bs=4k 2>/dev/null
  play_a_stage "$work/full" || fail "a full disk: status $?: $(cat "$work/err")"
  [ "$(grep -c 'runs are not kept' "$work/err")" = 1 ] || fail "a full disk: $(cat "$work/err")"
  [ -z "$(ls -A "$work/full/vane/replays")" ] || fail "left: $(ls -A "$work/full/vane/replays")"
  echo "ok   a full disk: $(cat "$work/err")"
  umount "$work/full"
  setpriv_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
else
  setpriv_user=""
fi
# The superuser may write a read-only folder: the game then plays as the user nobody.
if [ -n "$setpriv_user" ] && ! command -v setpriv >/dev/null; then exit 0; fi
chmod 755 "$work"
mkdir -p "$work/ro/vane/replays" "$work/config" && chmod 555 "$work/ro/vane/replays"
[ -n "$setpriv_user" ] && chown -R nobody "$work/config"
as_user=$setpriv_user play_a_stage "$work/ro" || fail "a read-only folder: status $?: $(cat "$work/err")"
[ "$(grep -c 'runs are not kept' "$work/err")" = 1 ] || fail "read-only: $(cat "$work/err")"
[ -z "$(ls -A "$work/ro/vane/replays")" ] || fail "left: $(ls -A "$work/ro/vane/replays")"
echo "ok   a read-only folder: $(cat "$work/err")"
