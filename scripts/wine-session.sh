#!/usr/bin/env bash
# Starts or stops a Wine session on a prefix: a virtual display and a
# persistent wineserver that runs of scripts/wine-run.sh share when
# TOLVU_WINE_SESSION=1 is set, instead of starting and stopping their own.
# CTest starts one before the end-to-end suites and stops it after them, so
# that the suites, each its own run of the driver, pay for that once.
#
#   scripts/wine-session.sh start|stop PREFIX
#
# TOLVU_WINEPREFIX, when set, names the prefix instead, as for wine-run.sh;
# TOLVU_DISPLAY names an X display to use instead of a virtual one. The
# session's state is kept in PREFIX.session. Starting a session first stops
# one left behind by an interrupted run.
set -uo pipefail

readonly SCRIPT_NAME="wine-session.sh"
SCRIPT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
readonly SCRIPT_DIR

die() {
  echo "$SCRIPT_NAME: $*" >&2
  exit 1
}
# shellcheck source=scripts/wine-common.sh
source "$SCRIPT_DIR/wine-common.sh"

[[ $# -eq 2 && ( "$1" == start || "$1" == stop ) ]] || die "usage: $SCRIPT_NAME start|stop PREFIX"
action="$1"
prefix="${TOLVU_WINEPREFIX:-$2}"
mkdir -p "$(dirname "$prefix")" || die "cannot create the folder of $prefix"
prefix="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
session="$prefix.session"

require_wine_tools

use_wine_prefix "$prefix"

# The same lock as wine-run.sh: no run is half-way while the session changes.
exec 9>"$prefix.lock" || die "cannot open $prefix.lock"
flock -w 1020 9 || die "another run kept $prefix busy for too long"

stop_session() {
  [[ -d "$session" ]] || return 0
  # The wineserver while its display still exists, then the display, by
  # the process id recorded when it was started (and only if that process
  # is still an Xvfb).
  timeout 30 wineserver -k >/dev/null 2>&1
  timeout 30 wineserver -w >/dev/null 2>&1
  local pid
  pid="$(cat "$session/xvfb.pid" 2>/dev/null)"
  if [[ "$pid" =~ ^[0-9]+$ && "$(cat "/proc/$pid/comm" 2>/dev/null)" == Xvfb ]]; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
  fi
  rm -rf "$session"
}

if [[ "$action" == stop ]]; then
  stop_session
  exit 0
fi

stop_session
mkdir -p "$session" || die "cannot create $session"
if [[ -n "${TOLVU_DISPLAY:-}" ]]; then
  DISPLAY="$TOLVU_DISPLAY"
else
  start_virtual_display "$session"
  started=$?
  echo "$VIRTUAL_DISPLAY_PID" >"$session/xvfb.pid"
  if [[ $started -ne 0 ]]; then
    stop_session
    exit 1
  fi
fi
export DISPLAY

if ! "$SCRIPT_DIR/wine-prefix.sh" "$prefix"; then
  stop_session
  die "cannot prepare the Wine prefix $prefix"
fi
# A server that stays up between runs, and the prefix's own background
# programs started now, with neither the caller's output nor the lock.
if ! wineserver -p </dev/null >/dev/null 2>&1 9>&- ||
  ! timeout 120 wine reg query 'HKCU\Software\Wine' </dev/null >/dev/null 2>&1 9>&-; then
  stop_session
  die "cannot start the wineserver of $prefix"
fi
echo "$DISPLAY" >"$session/display"
echo "$SCRIPT_NAME: session on $prefix, display $DISPLAY"
