#!/usr/bin/env bash
# Runs Windows programs under Wine, on a private prefix, for the tool's
# tests and scripts.
#
#   scripts/wine.sh run PROGRAM [ARGS...]
#   scripts/wine.sh session start|stop PREFIX
#   scripts/wine.sh prefix PREFIX
#
# run: runs PROGRAM on a virtual display and a wineserver that it starts and
# stops itself (or on those of a session, see TOLVU_WINE_SESSION), and exits
# with the program's exit status (its low 8 bits, as Unix keeps them). The
# prefix is <folder of PROGRAM>/wineprefix unless TOLVU_WINEPREFIX names
# another one; it is created on first use and reused afterwards. With
# TOLVU_WINEPREFIX set, PROGRAM may also be a program of the prefix itself
# (reg, regedit, ...). Runs on the same prefix wait for each other.
#
# session: starts or stops a session on PREFIX: a virtual display and a
# persistent wineserver that runs with TOLVU_WINE_SESSION=1 share, instead of
# starting and stopping their own. CTest starts one before the end-to-end
# suites and stops it after them, so that the suites, each its own run of
# the driver, pay for that once. Its state is kept in PREFIX.session.
# Starting a session first stops one left behind by an interrupted run.
#
# prefix: makes PREFIX a ready 64-bit prefix: created by wineboot, with
# unmanaged X11 windows (message boxes then close at once instead of waiting
# for a window manager) and without the crash dialog (which would block a
# test). Does nothing when the prefix is already ready. The caller holds the
# prefix's lock and sets DISPLAY, as run and session do. Leaves the prefix's
# wineserver stopped, so that everything is on disk.
#
# Environment:
#   TOLVU_WINEPREFIX     the prefix to use, instead of the default for run
#                        and instead of PREFIX for session
#   TOLVU_WINE_TIMEOUT   seconds before the program is killed (by default
#                        RUN_TIMEOUT below)
#   TOLVU_DISPLAY        an X display to use instead of a virtual one, for
#                        seeing and answering message boxes by hand
#   TOLVU_WINE_SESSION   1: run in the session started on the prefix, on its
#                        display and wineserver, and leave them running; the
#                        program's output is passed on when it ends
#
# Wine rebuilds the program's command line from ARGS with its own quoting.
# Where the exact text matters, run tolvu_run.exe (built beside tolvu.exe),
# which starts tolvu.exe with the command line it is given as one argument.
set -uo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# Bounds, in seconds. A run may hold the prefix's lock for its program's
# RUN_TIMEOUT and LOCK_MARGIN more to start and end.
readonly RUN_TIMEOUT="${TOLVU_WINE_TIMEOUT:-900}"
readonly KILL_GRACE=10
readonly LOCK_MARGIN=120
readonly WINEBOOT_TIMEOUT=300
readonly REG_TIMEOUT=120

# A signal ends the script through its EXIT trap, which cleans up.
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# The absolute path of PATH (Wine takes no other prefix), whose folder it
# creates.
absolute_path() {
  mkdir -p "$(dirname "$1")" && echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
}

# One run at a time per prefix: a run's closing wineserver -k would end the
# programs of another run on the same prefix. Held on descriptor 9 until the
# script ends.
lock_prefix() {
  exec 9>"$1.lock" || die "cannot open $1.lock"
  flock -w "$((RUN_TIMEOUT + LOCK_MARGIN))" 9 || die "another run kept $1 busy for too long"
}

prepare_prefix() {
  local prefix="$1"
  local ready_mark="$prefix/.tolvu-prefix-ready" creating_mark="$prefix/.tolvu-prefix-creating"
  [[ -f "$ready_mark" ]] && return 0
  if [[ -d "$prefix" && ! -e "$creating_mark" && -n "$(ls -A "$prefix")" ]]; then
    # A prefix made elsewhere: keep it and only add the settings below.
    echo "$SCRIPT_NAME: adding the test settings to the existing prefix $prefix" >&2
  else
    # Empty, absent, or left half-made by an interrupted run.
    rm -rf "$prefix" || die "cannot remove the unfinished prefix $prefix"
    { mkdir -p "$prefix" && touch "$creating_mark"; } || die "cannot create $prefix"
    echo "$SCRIPT_NAME: creating the Wine prefix $prefix (once)" >&2
    timeout "$WINEBOOT_TIMEOUT" wineboot -i >/dev/null 2>&1 || die "wineboot -i failed or timed out on $prefix"
  fi
  timeout "$REG_TIMEOUT" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1 || die "cannot set X11 Driver\\Managed in $prefix"
  timeout "$REG_TIMEOUT" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 || die "cannot set WineDbg\\ShowCrashDialog in $prefix"
  # The registry reaches the disk when the server ends.
  stop_wineserver
  grep -q '"Managed"="N"' "$prefix/user.reg" || die "the prefix settings did not reach $prefix/user.reg"
  touch "$ready_mark"
  rm -f "$creating_mark"
}

# The wineserver while its display still exists, then the display.
stop_session() {
  [[ -d "$session_dir" ]] || return 0
  stop_wineserver
  stop_display "$session_dir"
  rm -rf "$session_dir"
}

# The display TOLVU_DISPLAY names, or a virtual one kept in FOLDER.
use_display() {
  if [[ -n "${TOLVU_DISPLAY:-}" ]]; then
    export DISPLAY="$TOLVU_DISPLAY"
  else
    start_display "$1"
  fi
}

# The program, then the prefix's wineserver while its display still exists,
# then the display; each by what identifies it, never by name.
end_run() {
  if [[ -n "$program_pid" ]]; then
    kill "$program_pid" 2>/dev/null # timeout passes it on to the program
    wait "$program_pid" 2>/dev/null
  fi
  # In a session, what the program wrote (programs it started may live on
  # with the files open, where they would have held the caller's pipes).
  [[ -f "$work_dir/stdout" ]] && cat "$work_dir/stdout"
  [[ -f "$work_dir/stderr" ]] && cat "$work_dir/stderr" >&2
  [[ $owns_server -eq 1 ]] && stop_wineserver
  stop_display "$work_dir"
  rm -rf "$work_dir"
}

run() {
  local program="$1" in_session=0 started_at status
  shift
  if [[ -f "$program" ]]; then
    program="$(absolute_path "$program")"
  elif [[ -z "${TOLVU_WINEPREFIX:-}" ]]; then
    die "no such program: $program (a program of the prefix itself, such as regedit, needs TOLVU_WINEPREFIX)"
  fi
  prefix="$(absolute_path "${TOLVU_WINEPREFIX:-$(dirname "$program")/wineprefix}")" ||
    die "cannot create the folder of the prefix"
  session_dir="$prefix.session"
  # What end_run stops and removes.
  work_dir="$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")" || die "cannot make a temporary folder"
  program_pid=""
  owns_server=0
  trap end_run EXIT

  lock_prefix "$prefix"
  if [[ "${TOLVU_WINE_SESSION:-}" == 1 ]]; then
    [[ -f "$session_dir/display" ]] ||
      die "no Wine session on $prefix (scripts/wine.sh session start $prefix starts one)"
    if [[ -f "$session_dir/xvfb.pid" ]] && ! kill -0 "$(<"$session_dir/xvfb.pid")" 2>/dev/null; then
      die "the display of the Wine session on $prefix has ended"
    fi
    DISPLAY="$(<"$session_dir/display")"
    export DISPLAY
    in_session=1
  else
    use_display "$work_dir"
  fi
  use_wine_prefix "$prefix"
  # The session prepared the prefix and owns its wineserver.
  if [[ $in_session -eq 0 ]]; then
    owns_server=1
    prepare_prefix "$prefix"
  fi

  # Started in the background and waited for, so that a signal to this script
  # is handled at once (bash defers traps while a foreground command runs).
  started_at=$SECONDS
  if [[ $in_session -eq 1 ]]; then
    # Without the lock, which programs it leaves running would keep.
    timeout --kill-after="$KILL_GRACE" "$RUN_TIMEOUT" wine "$program" "$@" \
      </dev/null >"$work_dir/stdout" 2>"$work_dir/stderr" 9>&- &
  else
    timeout --kill-after="$KILL_GRACE" "$RUN_TIMEOUT" wine "$program" "$@" </dev/null &
  fi
  program_pid=$!
  wait "$program_pid"
  status=$?
  program_pid=""
  # 124 and 137 are also ordinary exit statuses, so the clock decides.
  if [[ $((SECONDS - started_at)) -ge $RUN_TIMEOUT ]]; then
    echo "$SCRIPT_NAME: $(basename "$program") did not end within $RUN_TIMEOUT s and was killed" >&2
  fi
  exit "$status"
}

session() {
  prefix="$(absolute_path "$2")" || die "cannot create the folder of $2"
  session_dir="$prefix.session"
  use_wine_prefix "$prefix"
  # The same lock as run: no run is half-way while the session changes.
  lock_prefix "$prefix"
  stop_session
  [[ "$1" == start ]] || return 0

  # Undone if the start fails.
  trap stop_session EXIT
  mkdir -p "$session_dir" || die "cannot create $session_dir"
  use_display "$session_dir"
  prepare_prefix "$prefix"
  # A server that stays up between runs, and the prefix's own background
  # programs started now, with neither the caller's output nor the lock.
  { wineserver -p && timeout "$REG_TIMEOUT" wine reg query 'HKCU\Software\Wine'; } \
    </dev/null >/dev/null 2>&1 9>&- || die "cannot start the wineserver of $prefix"
  echo "$DISPLAY" >"$session_dir/display" || die "cannot write $session_dir/display"
  trap - EXIT
  echo "$SCRIPT_NAME: session on $prefix, display $DISPLAY"
}

# Dies unless the tools run here are installed and the bound is a number.
check_setup() {
  local tool
  for tool in wine wineserver timeout flock; do
    command -v "$tool" >/dev/null || die "'$tool' is not installed (scripts/install-deps.sh installs it)"
  done
  [[ "$RUN_TIMEOUT" =~ ^[1-9][0-9]*$ ]] || die "TOLVU_WINE_TIMEOUT must be a whole number of seconds, 1 or more"
}

case "${1:-}" in
  run)
    [[ $# -ge 2 ]] || usage "run PROGRAM [ARGS...]"
    check_setup
    shift
    run "$@"
    ;;
  session)
    [[ $# -eq 3 && ( "$2" == start || "$2" == stop ) ]] || usage "session start|stop PREFIX"
    check_setup
    session "$2" "${TOLVU_WINEPREFIX:-$3}"
    ;;
  prefix)
    [[ $# -eq 2 ]] || usage "prefix PREFIX"
    check_setup
    prefix="$(absolute_path "$2")" || die "cannot create the folder of $2"
    use_wine_prefix "$prefix"
    prepare_prefix "$prefix"
    ;;
  *) usage "run PROGRAM [ARGS...] | session start|stop PREFIX | prefix PREFIX" ;;
esac
