#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs bench/play.sh at the three reference sizes in both scaling modes (or SIZES and SCALES) and prints a Markdown table of medians.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runs=${RUNS:-3}
seconds=${SECONDS_PLAY:-30}
sizes=${SIZES:-1024x768 1280x960 1920x1080}
scales=${SCALES:-integer fit}
echo "| size | scaling | play, % of one core | title, % | menu, % | peak MiB | window shown ms | first picture ms | period median ms | p99 ms | max ms | pump µs |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|"
for size in $sizes; do
  for scale in $scales; do
    row=$("$here/play.sh" --size "$size" --runs "$runs" --seconds "$seconds" "$@" -- --scale "$scale" | tail -1)
    read -r _ title play peak mapped first median p99 max menu pump <<<"$( [ "$runs" -gt 1 ] && echo "$row" || echo "x $row")"
    echo "| $size | $scale | $play | $title | $menu | $peak | $mapped | $first | $median | $p99 | $max | $pump |"
  done
done
