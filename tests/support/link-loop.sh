#!/usr/bin/env bash
# Runs a command with a fresh folder holding a Unix link back to itself, sub/loop, named in
# SALVA_LINK_LOOP as Wine sees it; removes the folder afterwards. One link only: a walk that
# wrongly enters links then ends at the path length limit instead of branching at every level.
# The link is made here because a program under Wine cannot make one: CreateSymbolicLinkW
# reports success and makes nothing, and reparse points are not supported.
# Usage: link-loop.sh <folder> <command> [args...]
set -u
dir="$1"
shift
rm -rf "$dir"
mkdir -p "$dir/sub" || exit 1
dir=$(cd "$dir" && pwd)
ln -s "$dir" "$dir/sub/loop" || exit 1
SALVA_LINK_LOOP="Z:$(printf '%s' "$dir" | tr / '\\')" "$@"
rc=$?
rm -rf "$dir"
exit $rc
