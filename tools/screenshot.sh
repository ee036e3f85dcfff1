#!/usr/bin/env bash
# Saves the whole X screen as a PNG: tools/screenshot.sh <out.png> [display]
set -euo pipefail
out="${1:?usage: screenshot.sh <out.png> [display]}"
display="${2:-${DISPLAY:-}}"
[ -n "$display" ] || { echo "no X display given" >&2; exit 1; }
xwd -root -silent -display "$display" | convert xwd:- "png:$out"
