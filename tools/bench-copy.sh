#!/usr/bin/env bash
# Copies a healthy 512 MiB file with the copy engine under Wine and with dd at the same block
# size, side by side, and prints the engine's throughput as a ratio of dd's.
# Usage: tools/bench-copy.sh [size-in-MiB]
set -euo pipefail
# shellcheck source=bench-env.sh
source "$(dirname "$0")/bench-env.sh"
mib="${1:-512}"
bench_start "$mib" bench

sync  # each run starts with no dirty pages of the other
engine_out=$(wine "$build/testbin/bench_copy.exe" "$(winpath "$src")" "$(winpath "$work/engine.bin")" </dev/null 2>/dev/null | tr -d '\r')
echo "engine: $engine_out"
block=$(sed -n 's/.*block=\([0-9]*\).*/\1/p' <<<"$engine_out")
engine_s=$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' <<<"$engine_out")
# The engine's timing ends when its writes are handed to the system; dd below runs with fsync,
# so the engine's flush is counted too.
start=$(date +%s.%N)
sync "$work/engine.bin"
flush_s=$(echo "$(date +%s.%N) - $start" | bc -l)
cmp "$src" "$work/engine.bin" && echo "engine copy identical"

rm -f "$work/dd.bin"
sync
start=$(date +%s.%N)
dd if="$src" of="$work/dd.bin" bs="$block" conv=fsync 2>/dev/null
dd_s=$(echo "$(date +%s.%N) - $start" | bc -l)
printf 'dd:     block=%s seconds=%.3f mbps=%.1f\n' "$block" "$dd_s" "$(echo "$mib / $dd_s" | bc -l)"
total=$(echo "$engine_s + $flush_s" | bc -l)
printf 'engine with flush: seconds=%.3f mbps=%.1f\n' "$total" "$(echo "$mib / $total" | bc -l)"
printf 'ratio engine/dd throughput: %.2f\n' "$(echo "$dd_s / $total" | bc -l)"
rm -f "$work/engine.bin" "$work/dd.bin"
