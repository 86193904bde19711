#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays FRAMES frames in all through vane-sim: the bot's play of both stages with both ships, then
# wandering scripts (menu, both stages and ships, game overs, continues, clears and returns) of
# up to 250000 frames each. Fails on a non-zero exit or any sanitizer report.
# With --memory each wandering run is played to its half and to its end under the heap probe
# (tools/sim/heap_probe.c, preloaded: it counts the heap the allocator hands out, so neither the
# page cache nor a busy machine moves it), and the soak fails when, over the second half, what is
# still allocated at exit grows by more than 8 KiB (a leak: exact, the same on every run) or the
# most ever allocated by more than 1 MiB (memory held and freed only at exit). The probe and the
# sanitizers' allocators exclude each other, so --memory needs a build without sanitizers.
# --no-bots leaves the bot's runs out.
# usage: tools/sim/soak.sh BUILD_DIR FRAMES [--memory] [--no-bots]
set -euo pipefail
build=$1
frames=$2
memory=${3:-}
bots=${4:-}
sim=$build/tools/sim/vane-sim
bot=$build/tools/sim/vane-bot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")/../.." && pwd)/tests/lsan.supp
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1}
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

probe=$build/tools/sim/libvane_heap_probe.so

# Plays a run; fails the soak if it fails. Under --memory prints the heap probe's report: the most
# ever allocated and what is still allocated at exit, in KiB.
# usage: play KEYS FRAMES VANE-SIM-OPTIONS...
play() {
  local keys=$1 count=$2
  shift 2
  local preload=""
  [ "$memory" = --memory ] && preload=$probe
  VANE_HEAP_REPORT=$work/heap LD_PRELOAD=$preload "$sim" "$@" --input "$keys" --frames "$count" \
    >/dev/null 2>"$work/err" || { cat "$work/err" >&2; echo "soak: vane-sim failed on $keys" >&2; exit 1; }
  if [ -s "$work/err" ]; then cat "$work/err" >&2; echo "soak: vane-sim reported on $keys" >&2; exit 1; fi
  if [ "$memory" = --memory ]; then cat "$work/heap"; fi
}

left=$frames
[ "$bots" = --no-bots ] || for stage in 1 2; do
  for ship in 1 2; do
    [ "$left" -le 0 ] && break 2
    "$bot" 7 "$stage" "$ship" 20000 >"$work/bot.keys"
    used=$(tail -1 "$work/bot.keys" | cut -d' ' -f1)
    used=$((used + 300))
    [ "$used" -gt "$left" ] && used=$left
    play "$work/bot.keys" "$used" --seed 7 --stage "$stage" --ship "$ship" >/dev/null
    echo "bot stage $stage ship $ship: $used frames"
    left=$((left - used))
  done
done
seed=1
while [ "$left" -gt 0 ]; do
  run=$((left < 250000 ? left : 250000))
  "$bot" --wander "$seed" "$run" >"$work/wander.keys"
  if [ "$memory" != --memory ]; then
    play "$work/wander.keys" "$run" --seed "$seed"
    echo "wander seed $seed: $run frames"
  else
    half=$((run / 2))
    report=$(play "$work/wander.keys" "$half" --seed "$seed")
    read -r halfMost halfLeft <<<"$report"
    report=$(play "$work/wander.keys" "$run" --seed "$seed")
    read -r most kept <<<"$report"
    echo "wander seed $seed: $run frames, heap at most $halfMost KiB after $half frames and $most KiB after $run, $halfLeft and $kept KiB kept at exit"
    if [ "$kept" -gt $((halfLeft + 8)) ]; then
      echo "soak: leaks: $((kept - halfLeft)) KiB more kept at exit over frames $half to $run" >&2
      exit 1
    fi
    if [ "$most" -gt $((halfMost + 1024)) ]; then
      echo "soak: memory grew by $((most - halfMost)) KiB over frames $half to $run" >&2
      exit 1
    fi
  fi
  left=$((left - run))
  seed=$((seed + 1))
done
echo "soak: $frames frames clean"
