#!/usr/bin/env bash
# Sets up, builds, and runs every test under Wine on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"
build="${SALVA_BUILD_DIR:-$root/build}"
# shellcheck source=wine-env.sh
source "$root/tools/wine-env.sh"
wine_env_start "$build" yes
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
