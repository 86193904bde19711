#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The site's size as served with gzip (each file at gzip -9, as a static server precompresses it),
# file by file and in total; fails when the total reaches LIMIT bytes.
# Usage: served_size.sh SITE_DIR [LIMIT]
set -eu
site=$1 limit=${2:-}
total=0
for file in $(cd "$site" && find . -type f | sort); do
  size=$(gzip -9 -c "$site/$file" | wc -c)
  printf '%9d  %s\n' "$size" "${file#./}"
  total=$((total + size))
done
printf '%9d  total served with gzip\n' "$total"
if [ -n "$limit" ] && [ "$total" -ge "$limit" ]; then
  echo "the site is $total bytes served, over the limit of $limit" >&2
  exit 1
fi
