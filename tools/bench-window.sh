#!/usr/bin/env bash
# Copies a healthy file (64 MiB unless told) three ways in one run, side by side: through the
# real main window (read slider at 1, Start clicked, report answered), with the copy engine
# under a console host at the same read size, and with dd at the same block size. Each copy's
# time includes flushing its target to disk. Prints the median of a few rounds of each and the
# two ratios: the window's time against the console engine's, the engine's throughput against
# dd's.
# Usage: tools/bench-window.sh [size-in-MiB] [rounds]
set -euo pipefail
# shellcheck source=bench-env.sh
source "$(dirname "$0")/bench-env.sh"
mib="${1:-64}"
rounds="${2:-5}"
bench_start "$mib" bench-window
now() { date +%s.%N; }
seconds_of() { sed -n 's/.*seconds=\([0-9.]*\).*/\1/p'; }

# Adds the time to flush `file` to the seconds a run printed.
with_flush() {
  local run_s="$1" file="$2" start
  start=$(now)
  sync "$file"
  echo "$run_s + $(now) - $start" | bc -l
}

window_runs=() engine_runs=() dd_runs=()
block=""
for round in $(seq 1 "$rounds"); do
  sync
  out=$(wine "$build/testbin/bench_window.exe" "$(winpath "$src")" "$(winpath "$work/window.bin")" 1 \
        "$(winpath "$work")" </dev/null 2>/dev/null | tr -d '\r')
  [ -n "$out" ] || { echo "window copy failed" >&2; exit 1; }
  block=$(sed -n 's/.*block=\([0-9]*\).*/\1/p' <<<"$out")
  window_runs+=("$(with_flush "$(seconds_of <<<"$out")" "$work/window.bin")")
  cmp "$src" "$work/window.bin" || { echo "window copy differs" >&2; exit 1; }
  rm -f "$work/window.bin"

  sync
  out=$(wine "$build/testbin/bench_copy.exe" "$(winpath "$src")" "$(winpath "$work/engine.bin")" 1 \
        </dev/null 2>/dev/null | tr -d '\r')
  [ -n "$out" ] || { echo "engine copy failed" >&2; exit 1; }
  engine_runs+=("$(with_flush "$(seconds_of <<<"$out")" "$work/engine.bin")")
  cmp "$src" "$work/engine.bin" || { echo "engine copy differs" >&2; exit 1; }
  rm -f "$work/engine.bin"

  rm -f "$work/dd.bin"
  sync
  start=$(now)
  dd if="$src" of="$work/dd.bin" bs="$block" conv=fsync 2>/dev/null
  dd_runs+=("$(echo "$(now) - $start" | bc -l)")
  rm -f "$work/dd.bin"
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
window_s=$(median "${window_runs[@]}")
engine_s=$(median "${engine_runs[@]}")
dd_s=$(median "${dd_runs[@]}")
line() { printf '%-8s block=%s seconds=%.3f mbps=%.1f\n' "$1" "$block" "$2" "$(echo "$mib / $2" | bc -l)"; }
echo "median of $rounds rounds, $mib MiB, each with its flush:"
line window: "$window_s"
line engine: "$engine_s"
line dd: "$dd_s"
printf 'ratio window/engine time:       %.2f  (target 1.20 or less)\n' "$(echo "$window_s / $engine_s" | bc -l)"
printf 'ratio engine/dd throughput:     %.2f  (target 0.90 or more)\n' "$(echo "$dd_s / $engine_s" | bc -l)"
rm -rf "$work/OperationNotes.log"
