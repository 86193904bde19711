#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks (--check) or adds (--fix) the licence line at the top of every source file in the tree.
set -euo pipefail

LINE='SPDX-License-Identifier: GPL-3.0-or-later'

usage() {
  echo "usage: tools/spdx.sh --check | --fix   (run inside the source tree)" >&2
  exit 2
}

[ $# -eq 1 ] || usage
case "$1" in
  --check | --fix) mode=$1 ;;
  *) usage ;;
esac

cd "$(git rev-parse --show-toplevel)"

# The comment syntax of a source file, or nothing for files that are not source.
comment_for() {
  case "$1" in
    *.cpp | *.h) echo '//' ;;
    *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | Makefile) echo '#' ;;
    *) ;;
  esac
}

# True when the line is within the first two lines (the first may be a #! line).
has_line() {
  head -n 2 "$1" | grep -qF "$LINE"
}

# Puts "<comment> LINE" first, or second after a #! line; the file keeps its mode.
add_line() {
  tmp=$(mktemp)
  if head -n 1 "$1" | grep -q '^#!'; then
    { head -n 1 "$1"; echo "$2 $LINE"; tail -n +2 "$1"; } >"$tmp"
  else
    { echo "$2 $LINE"; cat "$1"; } >"$tmp"
  fi
  cat "$tmp" >"$1"
  rm -f "$tmp"
}

missing=0
# Tracked files and new ones not ignored, so the check sees work before it is committed.
while IFS= read -r -d '' file; do
  [ -f "$file" ] || continue
  comment=$(comment_for "$file")
  [ -n "$comment" ] || continue
  has_line "$file" && continue
  if [ "$mode" = --fix ]; then
    add_line "$file" "$comment"
    echo "added: $file"
  else
    echo "missing: $file"
    missing=$((missing + 1))
  fi
done < <(git ls-files -z --cached --others --exclude-standard)

if [ "$missing" -gt 0 ]; then
  echo "$missing file(s) without the line '$LINE'; run tools/spdx.sh --fix" >&2
  exit 1
fi
