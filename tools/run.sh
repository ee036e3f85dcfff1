#!/usr/bin/env bash
# Sets up, builds and starts Salvadisk.exe under Wine: on your X display when there is one,
# else on a private Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"
build="${SALVA_BUILD_DIR:-$root/build}"
# shellcheck source=wine-env.sh
source "$root/tools/wine-env.sh"
wine_env_start "$build" no
wine "$build/bin/Salvadisk.exe" "$@"
