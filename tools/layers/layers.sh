#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The include graph between source folders, and the check that no file includes a higher layer.
#
#   tools/layers/layers.sh [ROOT]          print "from -> to  count" for every pair of folders
#   tools/layers/layers.sh --check [ROOT]  exit 1 and name each include that goes up a layer, and
#                                          each write of gameState outside src/flow/, and each
#                                          window message or sound buffer below the host
#
# A folder is the first part of the path below src/ (core, world, ...) or tools/, tests/, bench/,
# fuzz/ as a whole. Layers, bottom to top; a file may include its own folder and lower ranks only.
# gfx and audio share a rank but do not include each other; so do platform and files.
set -eu

mode=graph
if [ "${1:-}" = --check ]; then
  mode=check
  shift
fi
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

find src tools tests bench fuzz -name '*.h' -o -name '*.cpp' 2>/dev/null | sort |
  xargs grep -H '^#include "' |
  awk -v mode="$mode" '
    function folder(path,    parts) {
      split(path, parts, "/")
      return parts[1] == "src" ? parts[2] : parts[1]
    }
    function rank(f) {
      if (f == "platform" || f == "files") return 0
      if (f == "host") return 1
      if (f == "core") return 2
      if (f == "gfx" || f == "audio") return 3
      if (f == "world") return 4
      if (f == "stages") return 5
      if (f == "flow") return 6
      if (f == "screens") return 7
      if (f == "shell") return 8
      if (f == "tools") return 9
      return 10  # tests, bench, fuzz
    }
    {
      file = $0; sub(/:.*/, "", file)
      header = $0; sub(/^[^"]*"/, "", header); sub(/".*/, "", header)
      # A header named from the source root starts with its layer (or tools/); others sit beside
      # the including file.
      from = folder(file)
      to = header ~ /^tools\// ? "tools" : header
      if (to != "tools") {
        if (split(header, parts, "/") < 2 || rank(parts[1]) == 10) next  # beside the including file
        to = parts[1]
      }
      if (from == to) next
      count[from " -> " to]++
      up = rank(to) > rank(from) || (rank(to) == rank(from) && rank(from) < 9)
      if (up) { bad = bad file ": includes \"" header "\" (" to " is not below " from ")\n" }
    }
    END {
      if (mode == "check") {
        if (bad != "") { printf "%s", bad; exit 1 }
        print "layers: no file includes a higher layer"
        exit 0
      }
      for (pair in count) printf "%-22s %d\n", pair, count[pair] | "sort"
    }'

if [ "$mode" = check ]; then
  # Window messages and sound buffers are the host's: no back end knows them.
  machine=$(grep -rnE '\bkWm[A-Z]|\bBufferId\b|windowProc' src/platform --include='*.cpp' --include='*.h' || true)
  if [ -n "$machine" ]; then
    echo "$machine" | sed 's|$|  <- window messages and sound buffers belong to the host|'
    exit 1
  fi
  # The game's flow alone changes the game state (core/state.cpp only resets it).
  writes=$(grep -rnE '(^|[^.>a-zA-Z_])gameState *=[^=]' src --include='*.cpp' --include='*.h' |
    grep -v -e '^src/flow/' -e '^src/core/state.cpp:' || true)
  if [ -n "$writes" ]; then
    echo "$writes" | sed 's|$|  <- writes gameState outside src/flow/|'
    exit 1
  fi
fi
