#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The nine golden key scripts through the Windows vane-sim (under wine) and the native one: the
# whole traces, picture and mix hashes included, must be the same bytes.
# Usage: golden_traces.sh WINE WINDOWS_SIM NATIVE_SIM GOLDEN_DIR DATA_DIR [NAME...]
# With names, only those runs.
set -eu
wine=$1 windows_sim=$2 native_sim=$3 golden=$4 data=$5
shift 5
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
# name seed stage ship frames, as the replay test has them
while read -r name seed stage ship frames; do
  case " $* " in *" $name "*) ;; *) [ $# = 0 ] || continue ;; esac
  start=""
  [ "$stage" = 0 ] || start="--stage $stage --ship $ship"
  # shellcheck disable=SC2086 # $start is two options or none
  "$native_sim" --seed "$seed" $start --frames "$frames" --data "$data" \
    --input "$golden/$name.keys" --trace "$scratch/$name.native"
  # shellcheck disable=SC2086
  "$wine" "$windows_sim" --seed "$seed" $start --frames "$frames" --data "$data" \
    --input "$golden/$name.keys" --trace "$scratch/$name.windows"
  if cmp -s "$scratch/$name.native" "$scratch/$name.windows"; then
    echo "$name: $(wc -l <"$scratch/$name.native") frames, the same bytes"
  else
    echo "$name: the traces differ: $(cmp "$scratch/$name.native" "$scratch/$name.windows" || true)"
    failed=1
  fi
done <<'RUNS'
boot-to-menu 7 0 0 140
stage1-ship1 1 1 1 1200
stage1-ship2 2 1 2 1200
stage2-ship1 3 2 1 1200
stage2-ship2 4 2 2 1200
stage1-boss 5 1 1 5200
stage2-boss 6 2 2 6000
stage1-clear 111 1 1 5500
stage2-clear 122 2 2 7700
RUNS
exit $failed
