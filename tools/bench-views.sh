#!/usr/bin/env bash
# The log view and the open dialog under load, side by side (a benchmark, not a test):
# - 查看记录 on a log of 1.1 MB and on a sparse one of 700 MB (the view shows the last
#   megabyte): the time until the view is filled and the log window's worst answer meanwhile to
#   a WM_NULL sent from another thread every 10 ms;
# - 50 Down keys 20 ms apart in the real open dialog, in a folder of 60 and of 2,000 *.dat
#   files: the time until the 51st file is selected with the program's hook and preview pane,
#   against the same dialog without any hook.
# Usage: tools/bench-views.sh [rounds]
set -euo pipefail
# shellcheck source=bench-env.sh
source "$(dirname "$0")/bench-env.sh"
rounds="${1:-1}"
bench_start 0 bench-views
exe="$build/testbin/bench_views.exe"

# A log as the program writes it: UTF-8 with its mark, entries with continuation lines, runs
# ended by an empty line.
log_text() {
  awk -v bytes="$1" 'BEGIN {
    n = 0; total = 3; indent = sprintf("%22s", "")
    while (total < bytes) {
      n++
      line = sprintf("[2026/12/%d %02d:%02d:%02d PM] 文件复制完成！\r\n%s源文件：D:\\MPEGAV\\AVSEQ%02d.DAT\r\n%s目标：E:\\救回\\第%d个.dat\r\n",
                     n % 28 + 1, n % 12 + 1, n % 60, (n * 7) % 60, indent, n % 100, indent, n)
      if (n % 40 == 0) line = line "\r\n"
      printf "%s", line
      total += length(line)
    }
  }'
}
small="$work/small.log" big="$work/big.log"
if [ ! -s "$small" ]; then
  { printf '\xEF\xBB\xBF'; log_text $((1100 * 1024)); } > "$small"
fi
if [ "$(stat -c %s "$big" 2>/dev/null || echo 0)" != $((700 * 1024 * 1024)) ]; then
  tail_bytes=$(( $(stat -c %s "$small") - 3 ))
  rm -f "$big"
  printf '\xEF\xBB\xBF' > "$big"
  truncate -s $((700 * 1024 * 1024 - tail_bytes)) "$big"
  tail -c "$tail_bytes" "$small" >> "$big"
fi

make_folder() {
  local dir="$work/dat-$1" i
  if [ "$(find "$dir" -name '*.dat' 2>/dev/null | wc -l)" != "$1" ]; then
    rm -rf "$dir"
    mkdir -p "$dir"
    for i in $(seq -w 1 "$1"); do printf '%*s' $(( 10#$i % 2000 + 100 )) '' > "$dir/clip$i.dat"; done
  fi
  find "$dir" -type f -exec cat {} + > /dev/null
  echo "$dir"
}

field() { sed -n "s/.*$1=\\([0-9.-]*\\).*/\\1/p"; }
run() { wine "$exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
for round in $(seq 1 "$rounds"); do
  echo "round $round:"
  echo "  log view (查看记录)           filled       worst answer  (target 500 ms or less)"
  for log in "$small" "$big"; do
    out=$(run log "$(winpath "$log")")
    [ -n "$out" ] || { echo "log view run failed" >&2; exit 1; }
    printf '  %-28s %8.0f ms  %8.0f ms\n' "$(basename "$log") ($(du -h --apparent-size "$log" | cut -f1))" \
      "$(field filled_ms <<<"$out")" "$(field worst_answer_ms <<<"$out")"
  done
  echo "  open dialog, 50 Down keys     with hook    without hook  ratio (target 3.0 or less)"
  for count in 60 2000; do
    dir=$(make_folder "$count")
    hooked=$(run dialog "$(winpath "$dir")" "$count" hook)
    plain=$(run dialog "$(winpath "$dir")" "$count" plain)
    [ "$(field reached <<<"$hooked")" = 50 ] || { echo "hooked dialog did not reach the 51st file: $hooked" >&2; exit 1; }
    [ "$(field reached <<<"$plain")" = 50 ] || { echo "plain dialog did not reach the 51st file: $plain" >&2; exit 1; }
    h=$(field keys_ms <<<"$hooked") p=$(field keys_ms <<<"$plain")
    printf '  %-28s %8.0f ms  %8.0f ms   %5.2f\n' "$count *.dat files" "$h" "$p" "$(echo "$h / $p" | bc -l)"
  done
done
rm -f "$work/OperationNotes.log"
