# Sourced by the benchmark scripts: builds, starts the private Wine environment, and leaves a
# healthy source file of the asked size in the page cache.
# Usage: bench_start <size-in-MiB> <work-folder-name>; sets build, work, src and winpath. A size
# of 0 makes no source file.
bench_start() {
  local mib="$1"
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  bash "$root/tools/build.sh" >/dev/null
  build="${SALVA_BUILD_DIR:-$root/build}"
  # shellcheck source=wine-env.sh
  source "$root/tools/wine-env.sh"
  wine_env_start "$build" yes
  work="$build/$2"
  mkdir -p "$work"
  src="$work/source.bin"
  [ "$mib" -gt 0 ] || return 0
  if [ "$(stat -c %s "$src" 2>/dev/null || echo 0)" != $((mib * 1024 * 1024)) ]; then
    head -c $((mib * 1024 * 1024)) /dev/urandom > "$src"
  fi
  cat "$src" > /dev/null  # every run starts from the page cache
}

winpath() { echo "Z:$1" | tr '/' '\\'; }
