#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the real game under Xvfb: title screen, menu, Stage 1 with fire held; prints CPU, memory, start-up and frame period.
set -euo pipefail

usage() {
  cat <<'USAGE'
usage: bench/play.sh [--size WxH] [--seconds N] [--title-seconds N] [--menu-seconds N] [--runs K]
                     [--display :N] [--vane PATH] [--data DIR] [-- GAME-OPTIONS...]

Starts Xvfb at the given size (default 1280x960), runs the game in it with the present probe
preloaded and the dummy audio driver (the mixer still runs), waits on the first title screen (a
second for its curtains to open, then --title-seconds, default 10), walks through the second
title screen, waits on the menu for --menu-seconds (default 10), walks into Stage 1, holds Shift
and, after the stage's opening (2 s), measures --seconds (default 30) of play, then quits with
Escape. Per run it prints:
  cpu_title_pct  cpu_play_pct  (utime+stime of all threads, % of one core; the title once open)
  peak_mib       (VmHWM)
  mapped_ms first_picture_ms   (from the program's start)
  period_median_ms period_p99_ms period_max_ms   (between presents, in the stage)
  cpu_menu_pct   (as the other two, on the menu once its curtains have opened)
  pump_us        (processor time of one look at the event queue in the stage, controllers included)
and with --runs K > 1 a last line of medians. GAME-OPTIONS go to the game (e.g. --scale fit).
USAGE
}

size=1280x960 seconds=30 title_seconds=10 menu_seconds=10 runs=1 display=:19
root=$(cd "$(dirname "$0")/.." && pwd)
vane="$root/build/default/vane" data="$root/build/default/data"
game_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --title-seconds) title_seconds=$2; shift 2 ;;
    --menu-seconds) menu_seconds=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --display) display=$2; shift 2 ;;
    --vane) vane=$2; shift 2 ;;
    --data) data=$2; shift 2 ;;
    --help|-h) usage; exit 0 ;;
    --) shift; game_args=("$@"); break ;;
    *) echo "play.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
  esac
done
for tool in Xvfb xdotool xdpyinfo cc; do
  command -v "$tool" >/dev/null || { echo "play.sh: $tool is missing" >&2; exit 2; }
done
[ -x "$vane" ] || { echo "play.sh: no game at $vane (build it first)" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cc -shared -fPIC -O2 -o "$work/probe.so" "$root/bench/present_probe.c" -ldl

Xvfb "$display" -noreset -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now_ns() { date +%s%N; }
key() { # press and hold long enough for a frame to see it
  DISPLAY=$display xdotool keydown "$1"; sleep 0.15; DISPLAY=$display xdotool keyup "$1"; sleep 0.15
}

one_run() {
  local probe="$work/probe.txt"
  rm -f "$probe"
  local start
  start=$(now_ns)
  (cd "$data" && DISPLAY=$display SDL_AUDIODRIVER=dummy VANE_PROBE_OUT="$probe" \
     LD_PRELOAD="$work/probe.so" exec "$vane" "${game_args[@]}") >"$work/game.log" 2>&1 &
  game_pid=$!
  for _ in $(seq 200); do grep -q present "$probe" 2>/dev/null && break; sleep 0.05; done
  grep -q present "$probe" 2>/dev/null || { echo "play.sh: no picture after 10 s" >&2; cat "$work/game.log" >&2; exit 1; }

  local t0 t1
  sleep 1  # the curtains open
  t0=$(cpu_ticks "$game_pid"); sleep "$title_seconds"; t1=$(cpu_ticks "$game_pid")
  local cpu_title
  cpu_title=$(awk -v d=$((t1 - t0)) -v s="$title_seconds" -v hz="$ticks" 'BEGIN{printf "%.2f", 100*d/hz/s}')

  key space; key space; sleep 1   # both title screens, then the menu's curtains open
  t0=$(cpu_ticks "$game_pid"); sleep "$menu_seconds"; t1=$(cpu_ticks "$game_pid")
  local cpu_menu
  cpu_menu=$(awk -v d=$((t1 - t0)) -v s="$menu_seconds" -v hz="$ticks" 'BEGIN{printf "%.2f", 100*d/hz/s}')
  key Down; key Down; key Return  # start row: Stage 1 with the first ship
  sleep 1
  DISPLAY=$display xdotool keydown shift
  # The stage's opening (about 100 frames) changes the picture only every sixth frame as the
  # ground scrolls in; the five equal pictures between are not sent again, and the probe sees
  # only pictures sent. Measured from here on, fire held, every frame's picture is sent.
  sleep 2
  local play_from play_to
  play_from=$(now_ns)
  t0=$(cpu_ticks "$game_pid"); sleep "$seconds"; t1=$(cpu_ticks "$game_pid")
  play_to=$(now_ns)
  DISPLAY=$display xdotool keyup shift
  local cpu_play peak
  cpu_play=$(awk -v d=$((t1 - t0)) -v s="$seconds" -v hz="$ticks" 'BEGIN{printf "%.2f", 100*d/hz/s}')
  peak=$(awk '/VmHWM/ {printf "%.1f", $2/1024}' "/proc/$game_pid/status")
  DISPLAY=$display xdotool key Escape
  wait "$game_pid" || true
  game_pid=""

  local mapped first
  mapped=$(awk -v s="$start" '$1 == "shown" { printf "%.0f", ($2 - s) / 1e6; exit }' "$probe")
  first=$(awk -v s="$start" '$1 == "present" { printf "%.0f", ($2 - s) / 1e6; exit }' "$probe")
  awk -v from="$play_from" -v to="$play_to" '$1 == "present" && $2 >= from && $2 <= to {
      if (last != "") printf "%.3f\n", ($2 - last) / 1e6; last = $2 }' "$probe" | sort -n >"$work/periods"
  local n
  n=$(wc -l <"$work/periods")
  [ "$n" -gt 0 ] || { echo "play.sh: no presents in the stage" >&2; exit 1; }
  local median p99 max
  median=$(sed -n "$(((n + 1) / 2))p" "$work/periods")
  p99=$(sed -n "$(((n * 99 + 99) / 100))p" "$work/periods")
  max=$(tail -1 "$work/periods")
  local pump
  pump=$(awk -v from="$play_from" -v to="$play_to" '$1 == "pump" && $2 >= from && $2 <= to {
      if (n++ == 0) { cpu = $3; looks = $4 } last_cpu = $3; last_looks = $4 }
      END { if (last_looks > looks) printf "%.1f", (last_cpu - cpu) / (last_looks - looks) / 1000
            else printf "?" }' "$probe")
  echo "$cpu_title $cpu_play $peak ${mapped:-?} $first $median $p99 $max $cpu_menu $pump"
}

echo "# size=$size seconds=$seconds args=${game_args[*]:-}"
echo "cpu_title_pct cpu_play_pct peak_mib mapped_ms first_picture_ms period_median_ms period_p99_ms period_max_ms cpu_menu_pct pump_us"
for _ in $(seq "$runs"); do one_run | tee -a "$work/rows"; done
if [ "$runs" -gt 1 ]; then
  printf "median"
  for i in 1 2 3 4 5 6 7 8 9 10; do
    printf " %s" "$(cut -d' ' -f"$i" "$work/rows" | sort -g | awk '{ v[NR] = $1 }
      END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')"
  done
  printf "\n"
fi
