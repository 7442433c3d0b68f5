# Sourced by the scripts here and by bench/startup.sh: what they share.
# shellcheck shell=bash
#
# Exit statuses, the same in every script: 2 for a wrong use, 125 when the
# script cannot do its work (a tool missing, a set-up that failed);
# otherwise the status of what it ran.

SCRIPT_NAME="$(basename "$0")"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

die() {
  echo "$SCRIPT_NAME: $*" >&2
  exit 125
}

usage() {
  echo "usage: $SCRIPT_NAME $*" >&2
  exit 2
}

# tree_of PRESET: configures the tree of the configure preset and prints
# its folder, which only CMakePresets.json names (cmake/trees.cmake reads it).
tree_of() {
  (cd "$ROOT" && cmake --preset "$1" >/dev/null) || die "cannot configure the $1 tree"
  cmake -DPRESET="$1" -P "$ROOT/cmake/trees.cmake" || die "cannot find the $1 tree"
}

# What runs Windows programs under Wine needs: scripts/wine.sh and the
# benchmark. The bounds are in seconds.
readonly DISPLAY_START_TIMEOUT=10 DISPLAY_STOP_TIMEOUT=5 SERVER_STOP_TIMEOUT=60

# The environment every Wine program of the tool's runs in, on PREFIX.
use_wine_prefix() {
  export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all
  # No prompt to install Mono or Gecko.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # C.UTF-8 makes the prefix's ANSI code page 1252.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
}

# start_display FOLDER: starts Xvfb on a free display number and exports
# DISPLAY. Keeps its process id in FOLDER/xvfb.pid from the moment it runs,
# for stop_display, and its output in FOLDER/xvfb.log.
start_display() {
  local folder="$1" pid number=""
  command -v Xvfb >/dev/null ||
    die "cannot start a display: Xvfb is not installed (scripts/install-deps.sh installs it)"
  : >"$folder/display-number"
  # -displayfd: the server picks a free display number and writes it once it
  # accepts connections, so there is neither a race nor a guess. It gets
  # neither the caller's input and output (CTest's pipes) nor its lock.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display-number" \
    </dev/null >"$folder/xvfb.log" 2>&1 9>&- &
  pid=$!
  echo "$pid" >"$folder/xvfb.pid"
  for _ in $(seq $((DISPLAY_START_TIMEOUT * 10))); do
    number="$(tr -dc '0-9' <"$folder/display-number")"
    [[ -n "$number" ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  [[ -n "$number" ]] ||
    die "cannot start a display: Xvfb did not come up. Its output:"$'\n'"$(sed 's/^/  /' "$folder/xvfb.log")"
  export DISPLAY=":$number"
}

# stop_display FOLDER: stops the Xvfb that start_display started there, by
# its process id and only while that process is still an Xvfb.
stop_display() {
  local pid
  pid="$(cat "$1/xvfb.pid" 2>/dev/null)" || return 0
  [[ "$pid" =~ ^[0-9]+$ && "$(cat "/proc/$pid/comm" 2>/dev/null)" == Xvfb ]] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq $((DISPLAY_STOP_TIMEOUT * 10))); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
}

# Ends the wineserver of WINEPREFIX, and with it the prefix's programs, and
# waits for it, so that its registry is on disk.
stop_wineserver() {
  timeout "$SERVER_STOP_TIMEOUT" wineserver -k >/dev/null 2>&1 || true
  timeout "$SERVER_STOP_TIMEOUT" wineserver -w >/dev/null 2>&1 || true
}
