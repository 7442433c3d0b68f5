#!/usr/bin/env bash
# Runs one Windows program under Wine, on a private prefix and on a virtual
# display that this script starts and stops itself (or those of a session,
# see TOLVU_WINE_SESSION), and exits with the program's exit status (its low
# 8 bits, as Unix keeps them).
#
#   scripts/wine-run.sh PROGRAM [ARGS...]
#
# The prefix is <folder of PROGRAM>/wineprefix unless TOLVU_WINEPREFIX names
# another one; it is created on first use and reused afterwards. With
# TOLVU_WINEPREFIX set, PROGRAM may also be a program of the prefix itself
# (reg, regedit, ...). Runs on the
# same prefix wait for each other, because each run stops the prefix's
# wineserver when it ends.
#
# Environment:
#   TOLVU_WINEPREFIX     prefix folder to use instead of the default
#   TOLVU_WINE_TIMEOUT   seconds before the program is killed (default 900)
#   TOLVU_DISPLAY        an X display to use instead of a virtual one, for
#                        seeing and answering message boxes by hand
#   TOLVU_WINE_SESSION   1: run in the session scripts/wine-session.sh started
#                        on the prefix, on its display and wineserver, and
#                        leave them running; the program's output is passed
#                        on when it ends
#
# Wine rebuilds the program's command line from ARGS with its own quoting.
# Where the exact text matters, run tolvu_run.exe (built beside tolvu.exe),
# which starts tolvu.exe with the command line it is given as one argument.
set -uo pipefail

readonly SCRIPT_NAME="wine-run.sh"
SCRIPT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
readonly SCRIPT_DIR

die() {
  echo "$SCRIPT_NAME: $*" >&2
  exit 125
}
# shellcheck source=scripts/wine-common.sh
source "$SCRIPT_DIR/wine-common.sh"

[[ $# -ge 1 ]] || die "usage: $SCRIPT_NAME PROGRAM [ARGS...]"
program="$1"
shift
if [[ -f "$program" ]]; then
  program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"
elif [[ -z "${TOLVU_WINEPREFIX:-}" ]]; then
  die "no such program: $program (a program of the prefix itself, such as regedit, needs TOLVU_WINEPREFIX)"
fi

require_wine_tools

prefix="${TOLVU_WINEPREFIX:-$(dirname "$program")/wineprefix}"
run_timeout="${TOLVU_WINE_TIMEOUT:-900}"
[[ "$run_timeout" =~ ^[0-9]+$ ]] || die "TOLVU_WINE_TIMEOUT must be a number of seconds"

work_dir="$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")" || die "cannot make a temporary folder"
xvfb_pid=""
program_pid=""
server_started=0

# shellcheck disable=SC2317  # called by the EXIT trap
stop_everything() {
  # The program, then the prefix's wineserver while its display still
  # exists, then the display; each by what identifies it, never by name.
  if [[ -n "$program_pid" ]]; then
    kill "$program_pid" 2>/dev/null # timeout passes it on to the program
    wait "$program_pid" 2>/dev/null
  fi
  # In a session, what the program wrote (programs it started may live on
  # with the files open, where they would have held the caller's pipes).
  [[ -f "$work_dir/stdout" ]] && cat "$work_dir/stdout"
  [[ -f "$work_dir/stderr" ]] && cat "$work_dir/stderr" >&2
  if [[ $server_started -eq 1 ]]; then
    timeout 30 wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1
  fi
  if [[ -n "$xvfb_pid" ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null
    for _ in $(seq 50); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work_dir"
}
trap stop_everything EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# One run at a time per prefix: a run's closing wineserver -k would end the
# programs of another run on the same prefix.
mkdir -p "$(dirname "$prefix")" || die "cannot create the folder of $prefix"
exec 9>"$prefix.lock" || die "cannot open $prefix.lock"
flock -w "$((run_timeout + 120))" 9 || die "another run kept $prefix busy for too long"

in_session=0
if [[ "${TOLVU_WINE_SESSION:-}" == 1 ]]; then
  session="$prefix.session"
  [[ -f "$session/display" ]] ||
    die "no Wine session on $prefix (scripts/wine-session.sh start $prefix starts one)"
  if [[ -f "$session/xvfb.pid" ]] && ! kill -0 "$(<"$session/xvfb.pid")" 2>/dev/null; then
    die "the display of the Wine session on $prefix has ended"
  fi
  DISPLAY="$(<"$session/display")"
  in_session=1
elif [[ -n "${TOLVU_DISPLAY:-}" ]]; then
  DISPLAY="$TOLVU_DISPLAY"
else
  start_virtual_display "$work_dir"
  started=$?
  xvfb_pid="$VIRTUAL_DISPLAY_PID"
  [[ $started -eq 0 ]] || exit 125
fi

export DISPLAY
use_wine_prefix "$prefix"

# The session prepared the prefix and owns its wineserver.
if [[ $in_session -eq 0 ]]; then
  server_started=1
  "$SCRIPT_DIR/wine-prefix.sh" "$prefix" || die "cannot prepare the Wine prefix $prefix"
fi

# Started in the background and waited for, so that a signal to this script
# is handled at once (bash defers traps while a foreground command runs).
started_at=$SECONDS
if [[ $in_session -eq 1 ]]; then
  # Without the lock, which programs it leaves running would keep.
  timeout --kill-after=10 "$run_timeout" wine "$program" "$@" \
    </dev/null >"$work_dir/stdout" 2>"$work_dir/stderr" 9>&- &
else
  timeout --kill-after=10 "$run_timeout" wine "$program" "$@" </dev/null &
fi
program_pid=$!
wait "$program_pid"
status=$?
program_pid=""
# 124 and 137 are also ordinary exit statuses, so the clock decides.
if [[ $((SECONDS - started_at)) -ge $run_timeout ]]; then
  echo "$SCRIPT_NAME: $(basename "$program") did not end within $run_timeout s and was killed" >&2
fi
exit "$status"
