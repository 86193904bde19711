#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs each fuzz target in turn for SECONDS seconds from its seeds, its kept inputs and what
# earlier runs found; a finding is kept under build/fuzz/findings and fails the run.
# usage: fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
set -uo pipefail
build=$1
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_sprite_file fuzz_sprite_draw fuzz_sound_bank fuzz_key_script fuzz_wav fuzz_png
           fuzz_spr_index)
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export LSAN_OPTIONS=suppressions=$source_dir/../tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  corpus=$build/fuzz-corpus/$t
  findings=$build/fuzz-findings/$t
  log=$build/fuzz-logs/$t.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  "$build/fuzz/$t" "$corpus" "$build/fuzz-seeds/$t" "$source_dir/regressions/$t" \
    -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1
  result=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
  if [ $result -eq 0 ]; then
    echo "$t: ${seconds}s, ${execs:-?} executions, ${cov:-no coverage line}, no finding"
  else
    echo "$t: FINDING (exit $result), see $log and $findings"
    status=1
  fi
done
exit $status
