#!/usr/bin/env bash
# Drops many files (500 unless told) onto the real main window's list, once onto an empty list
# and once onto a long one (20,000 names unless told, as a search leaves it), and prints side by
# side each drop's time and the window's worst answer meanwhile to a WM_NULL sent every 10 ms
# (a benchmark, not a test).
# Usage: tools/bench-drop.sh [listed] [dropped] [rounds]
set -euo pipefail
# shellcheck source=bench-env.sh
source "$(dirname "$0")/bench-env.sh"
listed="${1:-20000}"
dropped="${2:-500}"
rounds="${3:-1}"
bench_start 0 bench-drop

field() { sed -n "s/.*$1=\\([0-9.]*\\).*/\\1/p"; }
for round in $(seq 1 "$rounds"); do
  out=$(wine "$build/testbin/bench_drop.exe" "$(winpath "$work/files")" "$(winpath "$work")" "$listed" "$dropped" \
        </dev/null 2>/dev/null | tr -d '\r')
  [ -n "$out" ] || { echo "drop run failed" >&2; exit 1; }
  [ "$(field empty_listed <<<"$out")" = "$dropped" ] || { echo "empty list drop listed other than $dropped: $out" >&2; exit 1; }
  [ "$(field long_listed <<<"$out")" = $((listed + dropped)) ] || { echo "long list drop listed other than $((listed + dropped)): $out" >&2; exit 1; }
  empty=$(field empty_ms <<<"$out")
  long=$(field long_ms <<<"$out")
  echo "round $round, $dropped files dropped:"
  printf '  onto an empty list:        %8.0f ms, worst answer %6.0f ms\n' "$empty" "$(field empty_answer_ms <<<"$out")"
  printf '  onto %6d listed:        %8.0f ms, worst answer %6.0f ms  (target 500 ms or less)\n' "$listed" "$long" \
    "$(field long_answer_ms <<<"$out")"
  printf '  long against empty:        %8.2f times  (target 3 or less)\n' "$(echo "$long / ($empty + 0.001)" | bc -l)"
done
rm -rf "$work/files" "$work/OperationNotes.log"
