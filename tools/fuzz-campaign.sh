#!/usr/bin/env bash
# A long fuzzing campaign: each target in turn, in one process (no -jobs: one worker), until it has run RUNS inputs or
# SECONDS seconds have passed. Builds the fast fuzz build (no AddressSanitizer) unless told
# PRESET=fuzz. Findings go to build/<preset>/artifacts, the grown corpus to build/<preset>/corpus.
#   tools/fuzz-campaign.sh [RUNS [SECONDS [TARGET...]]]
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
seconds=${2:-3600}
shift 2 2>/dev/null || shift $#
preset=${PRESET:-fuzz-fast}
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(fuzz_command_line fuzz_codepage fuzz_dropins fuzz_ini_document fuzz_mounts)
fi

cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j 2 || exit 1
out="build/$preset"
mkdir -p "$out/artifacts" "$out/logs"
status=0
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  log="$out/logs/$t.log"
  start=$SECONDS
  "$out/fuzz/$t" -runs="$runs" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/artifacts/$t-" \
    "$out/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  execs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$')
  [ "$rc" -eq 0 ] || status=1
  printf '%-20s %12s executions in %5d s, exit %d%s\n' "$t" "${execs:-?}" $((SECONDS - start)) \
    "$rc" "$([ "$rc" -eq 0 ] || echo " (see $log)")"
done
exit "$status"
