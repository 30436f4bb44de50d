#!/usr/bin/env bash
# Runs every fuzz target of build-check (or $FUZZ_BUILD) for SECONDS each on a copy of its seed
# corpus (the corpus in the repository is not changed) and prints its figures. A crash or a
# sanitizer finding stops with status 1 and leaves the input that caused it beside the target's
# working corpus.
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
[[ $# -gt 0 ]] && shift
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(bmp workfile scene_files raster command_line signatures vector_areas)
fi
build=${FUZZ_BUILD:-build-check}
work=${FUZZ_WORK:-$build/runs}
status=0
for t in "${targets[@]}"; do
  mkdir -p "$work/$t"
  cp -n fuzz/corpus/"$t"/* "$work/$t/" 2>/dev/null || true
  log="$work/$t.log"
  # Work files and band-file seeds run to a few kilobytes; the rest is short.
  max_len=4096
  [[ $t == workfile ]] && max_len=20000
  [[ $t == signatures ]] && max_len=8192
  if "$build"/fuzz_"$t" -max_total_time="$seconds" -max_len="$max_len" -timeout=30 \
       -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$work/$t-" \
       "$work/$t" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || echo "?")
    echo "fuzz_$t: ${seconds} s, $runs executions, coverage $cov, no crash"
  else
    echo "fuzz_$t: FAILED (see $log)" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit $status
