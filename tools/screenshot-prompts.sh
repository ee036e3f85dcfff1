#!/usr/bin/env bash
# Photographs the three Dorvex prompts on a private Xvfb display:
#   tools/screenshot-prompts.sh [out-dir]     (default: build/screenshots)
# The prompt test holds each prompt on screen until its picture is taken.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh" >/dev/null
build="${SALVA_BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots}"
mkdir -p "$out"
out=$(cd "$out" && pwd)
# shellcheck source=wine-env.sh
source "$root/tools/wine-env.sh"
wine_env_start "$build" yes
rm -f "$out"/*.ready "$out"/*.done
SALVA_SHOT_DIR="Z:${out//\//\\}" wine "$build/testbin/test_dorvex_prompts.exe" >"$out/prompts.log" 2>&1 &
pid=$!
taken=0
while kill -0 "$pid" 2>/dev/null && [ "$taken" -lt 3 ]; do
  for ready in "$out"/*.ready; do
    [ -e "$ready" ] || continue
    name=$(basename "$ready" .ready)
    bash "$root/tools/screenshot.sh" "$out/$name.png" "$DISPLAY"
    rm -f "$ready"
    touch "$out/$name.done"
    echo "$out/$name.png"
    taken=$((taken + 1))
  done
  sleep 0.1
done
wait "$pid"
rm -f "$out"/*.done
