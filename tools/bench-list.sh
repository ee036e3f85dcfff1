#!/usr/bin/env bash
# Searches a tree of small files (30,000 unless told: 300 folders of 100 *.dat files) through
# the real search window and main window, and prints side by side: the walk alone, the whole
# search from the Search click until its result shows, the main window's worst answer to a
# WM_NULL sent every 100 ms while the search runs, and the slowest of three item choices until
# the chosen file's facts show (a benchmark, not a test).
# Usage: tools/bench-list.sh [files] [rounds]
set -euo pipefail
# shellcheck source=bench-env.sh
source "$(dirname "$0")/bench-env.sh"
files="${1:-30000}"
rounds="${2:-1}"
bench_start 0 bench-list
per=100
folders=$(( (files + per - 1) / per ))
tree="$work/tree-$files"
if [ "$(find "$tree" -type f 2>/dev/null | wc -l)" != "$files" ]; then
  rm -rf "$tree"
  for f in $(seq 1 "$folders"); do
    dir="$tree/d$f"
    mkdir -p "$dir"
    n=$(( files - (f - 1) * per < per ? files - (f - 1) * per : per ))
    for i in $(seq 1 "$n"); do printf '%*s' $(( (f * per + i) % 2000 + 1 )) '' > "$dir/clip$i.dat"; done
  done
fi
find "$tree" -type f -exec cat {} + > /dev/null  # every run starts from the page cache

field() { sed -n "s/.*$1=\\([0-9.]*\\).*/\\1/p"; }
for round in $(seq 1 "$rounds"); do
  out=$(wine "$build/testbin/bench_list.exe" "$(winpath "$tree")" '*.dat' "$(winpath "$work")" \
        </dev/null 2>/dev/null | tr -d '\r')
  [ -n "$out" ] || { echo "search run failed" >&2; exit 1; }
  [ "$(field listed <<<"$out")" = "$files" ] || { echo "listed other than $files: $out" >&2; exit 1; }
  [ "$(field choices_shown <<<"$out")" = 1 ] || { echo "a choice did not show its facts: $out" >&2; exit 1; }
  walk=$(field walk_ms <<<"$out")
  search=$(field search_ms <<<"$out")
  answer=$(field worst_answer_ms <<<"$out")
  choice=$(field choice_ms <<<"$out")
  echo "round $round, $files files in $folders folders:"
  printf '  walk alone:             %8.0f ms\n' "$walk"
  printf '  whole search:           %8.0f ms  (%.1f times the walk; target 10000 ms or less)\n' "$search" \
    "$(echo "$search / ($walk + 0.001)" | bc -l)"
  printf '  worst answer meanwhile: %8.0f ms  (target 500 ms or less)\n' "$answer"
  printf '  item choice:            %8.1f ms  (target 200 ms or less)\n' "$choice"
done
rm -f "$work/OperationNotes.log" "$work/Salvadisksearch.ini"
