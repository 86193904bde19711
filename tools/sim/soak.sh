#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays FRAMES frames in all through vane-sim: the bot's play of both stages with both ships, then
# wandering scripts (menu, both stages and ships, game overs, continues, clears and returns) of
# up to 250000 frames each. Fails on a non-zero exit or any sanitizer report, and when a wandering
# run's peak memory grows by more than 1 MiB past its peak over the first fifth of the run (which
# holds its first stage at least).
# The memory check needs a build without sanitizers (their allocators hold freed memory back);
# it runs with --memory.
# usage: tools/sim/soak.sh BUILD_DIR FRAMES [--memory]
set -euo pipefail
build=$1
frames=$2
memory=${3:-}
sim=$build/tools/sim/vane-sim
bot=$build/tools/sim/vane-bot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")/../.." && pwd)/tests/lsan.supp
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1}
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Peak resident memory (KiB) of a vane-sim run; fails the soak if the run fails.
# usage: peak KEYS FRAMES VANE-SIM-OPTIONS...
peak() {
  local keys=$1 count=$2
  shift 2
  /usr/bin/time -f %M -o "$work/peak" "$sim" "$@" --input "$keys" --frames "$count" \
    >/dev/null 2>"$work/err" || { cat "$work/err" >&2; echo "soak: vane-sim failed on $keys" >&2; exit 1; }
  if [ -s "$work/err" ]; then cat "$work/err" >&2; echo "soak: vane-sim reported on $keys" >&2; exit 1; fi
  cat "$work/peak"
}

left=$frames
for stage in 1 2; do
  for ship in 1 2; do
    [ "$left" -le 0 ] && break 2
    "$bot" 7 "$stage" "$ship" 20000 >"$work/bot.keys"
    used=$(tail -1 "$work/bot.keys" | cut -d' ' -f1)
    used=$((used + 300))
    [ "$used" -gt "$left" ] && used=$left
    kib=$(peak "$work/bot.keys" "$used" --seed 7 --stage "$stage" --ship "$ship")
    echo "bot stage $stage ship $ship: $used frames, peak ${kib} KiB"
    left=$((left - used))
  done
done
seed=1
while [ "$left" -gt 0 ]; do
  run=$((left < 250000 ? left : 250000))
  "$bot" --wander "$seed" "$run" >"$work/wander.keys"
  first=$((run / 5))
  early=$(peak "$work/wander.keys" "$first" --seed "$seed")
  kib=$(peak "$work/wander.keys" "$run" --seed "$seed")
  echo "wander seed $seed: $run frames, peak ${kib} KiB (${early} KiB after $first frames)"
  if [ "$memory" = --memory ] && [ "$kib" -gt $((early + 1024)) ]; then
    echo "soak: memory grew by $((kib - early)) KiB after frame $first" >&2
    exit 1
  fi
  left=$((left - run))
  seed=$((seed + 1))
done
echo "soak: $frames frames clean"
