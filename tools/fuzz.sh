#!/usr/bin/env bash
# Runs every fuzz target of build-check (or $FUZZ_BUILD) for SECONDS each on a copy of its seed
# corpus (the corpus in the repository is not changed) and prints its figures, as many targets at
# a time as there are cores ($FUZZ_JOBS to say otherwise), or until $FUZZ_RUNS executions when that
# is set. A crash or a sanitizer finding makes it end with status 1 and leaves the input that
# caused it beside the target's working corpus. The working corpora ($FUZZ_WORK) are kept, so a
# later run with the same FUZZ_WORK goes on from them.
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
[[ $# -gt 0 ]] && shift
targets=("$@")
if ((${#targets[@]} == 0)); then
  # The slowest first, so that the last to start is not the one everything waits for.
  targets=(scene_files raster vector_areas workfile bmp signatures command_line)
fi
build=${FUZZ_BUILD:-build-check}
work=${FUZZ_WORK:-$build/runs}
jobs=${FUZZ_JOBS:-$(nproc)}

# One target: its figures on standard output, or its failure and the log's end on stderr.
run_target() {
  local t=$1 log="$work/$1.log" max_len=4096
  mkdir -p "$work/$t"
  cp -n fuzz/corpus/"$t"/* "$work/$t/" 2>/dev/null || true
  # Work files and band-file seeds run to a few kilobytes; the rest is short.
  [[ $t == workfile ]] && max_len=20000
  [[ $t == signatures ]] && max_len=8192
  if "$build"/fuzz_"$t" -max_total_time="$seconds" ${FUZZ_RUNS:+-runs=$FUZZ_RUNS} \
       -max_len="$max_len" -timeout=30 \
       -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$work/$t-" \
       "$work/$t" >"$log" 2>&1; then
    local runs cov
    runs=$(grep -ao 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    cov=$(grep -ao 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || echo "?")
    echo "fuzz_$t: $runs executions, coverage $cov, no crash"
  else
    { echo "fuzz_$t: FAILED (see $log)"; tail -n 40 "$log"; } >&2
    return 1
  fi
}

status=0
pids=()
for t in "${targets[@]}"; do
  # At most $jobs at once: wait for the oldest before starting another.
  if ((${#pids[@]} >= jobs)); then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
  run_target "$t" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
