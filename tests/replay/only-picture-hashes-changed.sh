#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the golden traces differ from a revision (default HEAD) only in their picture hashes.
# Run from the source tree after VANE_REGENERATE_GOLDEN=1; exit status 1 when any game field moved.
set -eu
base=${1:-HEAD}
status=0
for trace in tests/golden/*.trace; do
  old=$(mktemp)
  git show "$base:$trace" | sed 's/ h="[0-9a-f]*"//' >"$old"
  moved=$(sed 's/ h="[0-9a-f]*"//' "$trace" | diff "$old" - | grep -c '^[<>]' || true)
  rm -f "$old"
  hashes=$(git diff --numstat "$base" -- "$trace" | cut -f1)
  echo "$trace: ${hashes:-0} lines with a new picture hash, $moved lines with another field moved"
  [ "$moved" = 0 ] || status=1
done
exit $status
