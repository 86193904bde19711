#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a private X server ends promptly on SIGTERM and SIGINT: during a stage and
# during a replay as hostile as a key script may be (as a quit request, status 0), and while a
# start-up failure's message box is up (by the signal, status 128 + its number, the box gone with
# it). Each case says how long the program took to end, and fails past a second: the program
# itself takes well under a tenth (tools/sim/signal_times.sh measures it), and the rest is left
# to a busy machine. Skipped (77) where there is no Xvfb.
# usage: signals.sh VANE DATA_DIR KEYS
set -uo pipefail
# Job control, so the program started in the background does not inherit SIGINT ignored.
set -m
vane=$1
data=$2
keys=$3
for tool in Xvfb xwininfo; do command -v "$tool" >/dev/null || exit 77; done
. "$(dirname "$0")/private_x.sh"
  SDL_AUDIODRIVER=dummy
mkdir -p "$work/broken"
cp "$data"/* "$work/broken/"
printf 'XXXXX' >"$work/broken/player.spr"
# The recorded keys reach a stage by frame 100, two and a half seconds in.
{ echo "# seed 7"; grep -v '^#' "$keys"; } >"$work/stage.keys"
# Every frame sends as many key messages as a line may hold.
{
  echo "# seed 7"
  keys=$(printf ' +LEFT%.0s' $(seq 64))
  for f in $(seq 20000); do echo "$f$keys"; done
} >"$work/hostile.keys"
failed=0

# Whether a window named ERROR is on the screen.
boxShown() {
  xwininfo -root -tree 2>/dev/null | grep -q '"ERROR"'
}

# Starts the program, waits until `ready` is on its stderr, then `settle` seconds more, sends the
# signal and expects it to end within five seconds with `status`.
check() {
  local name=$1 signal=$2 status=$3 ready=$4 settle=$5
  shift 5
  "$vane" --window "$@" 2>"$work/err" &
  local pid=$!
  for _ in $(seq 100); do grep -q "$ready" "$work/err" 2>/dev/null && break; sleep 0.1; done
  sleep "$settle"
  local sent
  sent=$(date +%s%N)
  kill -"$signal" $pid
  for _ in $(seq 500); do kill -0 $pid 2>/dev/null || break; sleep 0.01; done
  local took=$((($(date +%s%N) - sent) / 1000000))
  if kill -0 $pid 2>/dev/null; then
    echo "FAIL $name: still running 5 s after SIG$signal"
    kill -KILL $pid
    failed=1
    return
  fi
  wait $pid
  local got=$?
  for _ in $(seq 10); do boxShown || break; sleep 0.1; done
  if [ $got -ne "$status" ]; then
    echo "FAIL $name: status $got, expected $status"
    failed=1
  elif [ "$took" -gt 1000 ]; then
    echo "FAIL $name: took $took ms to end"
    failed=1
  elif boxShown; then
    echo "FAIL $name: the message box is still on the screen"
    failed=1
  else
    echo "ok   $name: status $got after $took ms"
  fi
}

check "SIGTERM with a message box up" TERM 143 "ERROR:" 1 --data "$work/broken"
check "SIGINT with a message box up" INT 130 "ERROR:" 1 --data "$work/broken"
check "SIGTERM during a stage" TERM 0 "" 4 --data "$data" --replay "$work/stage.keys"
check "SIGINT during a stage" INT 0 "" 4 --data "$data" --replay "$work/stage.keys"
check "SIGTERM during a hostile replay" TERM 0 "" 4 --data "$data" --replay "$work/hostile.keys"
exit $failed
