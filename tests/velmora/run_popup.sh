#!/usr/bin/env bash
# Runs the real-popup test and photographs the X screen while its popup is open.
# Usage: run_popup.sh <test.exe> <screenshot.sh> <wine>
set -u
exe="$1"; shot_script="$2"; wine="$3"
dir=$(dirname "$exe")
png="$dir/velmora_popup.png"
rm -f "$dir/velmora_popup.ready" "$dir/velmora_popup.done" "$png"
VELMORA_SHOT=1 "$wine" "$exe" &
pid=$!
for _ in $(seq 1 $((300 * ${SALVA_TEST_TIME_SCALE:-1}))); do
  [ -e "$dir/velmora_popup.ready" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -e "$dir/velmora_popup.ready" ]; then
  bash "$shot_script" "$png" || echo "screenshot script failed"
  touch "$dir/velmora_popup.done"
fi
wait "$pid"
rc=$?
if [ ! -s "$png" ]; then
  echo "no screenshot at $png"
  exit 1
fi
echo "screenshot: $png"
exit "$rc"
