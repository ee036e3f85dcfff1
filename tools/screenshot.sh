#!/usr/bin/env bash
# Saves the whole X screen as a PNG: tools/screenshot.sh <out.png> [display]
# One plain read of the root window, which gives the screen as shown. Not xwd: Wine's windows
# use a colormap of their own, not the root's, and xwd then reads the screen window by window
# through its own clipping, which leaves parts of pop-ups over partly overlapping windows black
# (drop-down lists, tips, menus) although the screen shows them whole.
set -euo pipefail
out="${1:?usage: screenshot.sh <out.png> [display]}"
display="${2:-${DISPLAY:-}}"
[ -n "$display" ] || { echo "no X display given" >&2; exit 1; }
import -silent -display "$display" -window root "png:$out"
