# Sourced by the benchmarks, after scripts/common.sh: what they share.
# shellcheck shell=bash

readonly BUILD="$ROOT/build/bench"
readonly LOCK_TIMEOUT=600

# Installs what is missing and builds tolvu.exe (TOLVU) and the CPU timer
# (CPU_TIME).
bench_build() {
  "$ROOT/scripts/install-deps.sh"
  mkdir -p "$BUILD"
  local tree
  tree="$(tree_of windows)"
  cmake --build "$tree" --target tolvu >/dev/null
  readonly TOLVU="$tree/tolvu.exe" CPU_TIME="$BUILD/cpu_time"
  gcc -O2 -Wall -Wextra -o "$CPU_TIME" "$ROOT/bench/cpu_time.c"
}

# Runs the rest of the script in a private prefix (build/bench/wineprefix),
# one benchmark at a time, with its wineserver kept alive, on a virtual
# display of its own, and a work folder (work_dir) that is removed at exit.
bench_start_wine() {
  use_wine_prefix "$BUILD/wineprefix"
  export WINELOADER=/usr/lib/wine/wine64
  work_dir="$(mktemp -d "${TMPDIR:-/tmp}/tolvu-bench.XXXXXX")"
  server_started=0
  trap bench_cleanup EXIT
  exec 9>"$WINEPREFIX.lock"
  flock -w "$LOCK_TIMEOUT" 9 || die "another run kept $WINEPREFIX busy"
  start_display "$work_dir"
  server_started=1
  "$ROOT/scripts/wine.sh" prefix "$WINEPREFIX" || die "cannot prepare $WINEPREFIX"
  wineserver -p
}

bench_cleanup() {
  if [[ $server_started -eq 1 ]]; then
    stop_wineserver
  fi
  stop_display "$work_dir"
  rm -rf "$work_dir"
}
