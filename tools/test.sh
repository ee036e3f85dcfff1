#!/usr/bin/env bash
# Sets up, builds, and runs every test under Wine on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"
build="${SALVA_BUILD_DIR:-$root/build}"
# The suite's time factor: CTest's limit of each entry and every deadline inside the tests are
# multiplied by it. SALVA_TEST_TIME_SCALE sets it; else it is 4 where the set-up runs 32-bit
# programs under qemu-user (CPU-bound entries take 3-5 times as long there), 1 elsewhere.
scale=${SALVA_TEST_TIME_SCALE:-}
if [ -z "$scale" ]; then
  # shellcheck source=i386-check.sh
  source "$root/tools/i386-check.sh"
  scale=1
  if i386_emulated "$I386_BINFMT"; then scale=4; fi
fi
[[ $scale =~ ^[1-9][0-9]*$ ]] || { echo "SALVA_TEST_TIME_SCALE must be a whole number of at least 1, not '$scale'" >&2; exit 1; }
if [ "$(sed -n 's/^SALVA_TEST_TIME_SCALE:STRING=//p' "$build/CMakeCache.txt")" != "$scale" ]; then
  cmake -DSALVA_TEST_TIME_SCALE="$scale" "$build" >/dev/null
fi
export SALVA_TEST_TIME_SCALE=$scale
[ "$scale" = 1 ] || echo "-- test time factor $scale"
# shellcheck source=wine-env.sh
source "$root/tools/wine-env.sh"
wine_env_start "$build" yes
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
