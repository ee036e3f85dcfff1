#!/usr/bin/env bash
# Saves the whole X screen as a PNG: tools/screenshot.sh <out.png> [display]
# The root image alone misses windows the server keeps in backing store (Wine's popup menus
# among them), so every mapped top-level window is captured by itself and laid over the root
# image in stacking order.
set -euo pipefail
out="${1:?usage: screenshot.sh <out.png> [display]}"
display="${2:-${DISPLAY:-}}"
[ -n "$display" ] || { echo "no X display given" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
xwd -root -silent -display "$display" | convert xwd:- "png:$work/screen.png"
n=0
# xwininfo lists the root's children top-most first; they are laid on bottom first.
while read -r id geometry; do
  size=${geometry%%+*}
  w=${size%x*}; h=${size#*x}
  [ "$w" -gt 1 ] && [ "$h" -gt 1 ] || continue
  state=$(xwininfo -id "$id" -display "$display" | awk -F': *' '/Map State/ {print $2}')
  [ "$state" = IsViewable ] || continue
  x=$(xwininfo -id "$id" -display "$display" | awk -F': *' '/Absolute upper-left X/ {print $2}')
  y=$(xwininfo -id "$id" -display "$display" | awk -F': *' '/Absolute upper-left Y/ {print $2}')
  n=$((n + 1))
  if xwd -id "$id" -silent -display "$display" 2>/dev/null | convert xwd:- "png:$work/w$n.png" 2>/dev/null; then
    convert "$work/screen.png" "$work/w$n.png" -geometry "+$x+$y" -composite "png:$work/screen.png"
  fi
done < <(xwininfo -root -children -display "$display" | sed -n 's/^ *\(0x[0-9a-f]*\) .* \([0-9]*x[0-9]*+-\{0,1\}[0-9]*+-\{0,1\}[0-9]*\) .*$/\1 \2/p' | tac)
mv "$work/screen.png" "$out"
