#!/usr/bin/env bash
# Replays a fuzz target's seed corpus, then fuzzes it for a bounded time.
# Usage: run-fuzz.sh <fuzzer> <samples-dir> <sample-pattern> <work-dir> [seconds]
# The seconds default to SALVA_FUZZ_SECONDS, else 10.
set -euo pipefail
fuzzer="$1" samples="$2" pattern="$3" work="$4" seconds="${5:-${SALVA_FUZZ_SECONDS:-10}}"
rm -rf "$work"
mkdir -p "$work/seeds" "$work/found"
# shellcheck disable=SC2086
cp $samples/$pattern "$work/seeds/"
cd "$work"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# libFuzzer's exit code tells a failure; its final statistics tell that inputs ran at all, so a
# fuzzer that ends quietly fails too: the replay runs every seed, the fuzzing at least one input.
fuzz() {
  local least="$1"
  shift
  "$fuzzer" -print_final_stats=1 "$@" 2>&1 | tee "$work/log"
  local ran
  ran=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
  if [ "${ran:-0}" -lt "$least" ]; then
    echo "run-fuzz: FAILED: ${ran:-no} inputs ran, $least at least"
    exit 1
  fi
}
fuzz "$(find seeds -type f | wc -l)" -runs=0 seeds
fuzz 1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 found seeds
