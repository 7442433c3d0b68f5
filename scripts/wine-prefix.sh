#!/usr/bin/env bash
# Makes sure PREFIX is a ready 64-bit Wine prefix for running the tool and
# its tests: created by wineboot, with unmanaged X11 windows (message boxes
# then close at once instead of waiting for a window manager) and without
# the crash dialog (which would block a test). Does nothing when the prefix
# is already ready.
#
#   scripts/wine-prefix.sh PREFIX
#
# Expects the caller to hold the prefix's lock and to have set DISPLAY and
# the WINE* variables; scripts/wine-run.sh does both. Leaves the prefix's
# wineserver stopped, so everything is on disk.
set -uo pipefail

readonly SCRIPT_NAME="wine-prefix.sh"

die() {
  echo "$SCRIPT_NAME: $*" >&2
  exit 1
}

[[ $# -eq 1 ]] || die "usage: $SCRIPT_NAME PREFIX"
prefix="$1"
ready_mark="$prefix/.tolvu-prefix-ready"
creating_mark="$prefix/.tolvu-prefix-creating"
[[ -f "$ready_mark" ]] && exit 0

export WINEPREFIX="$prefix"
if [[ -d "$prefix" && ! -e "$creating_mark" && -n "$(ls -A "$prefix")" ]]; then
  # A prefix made elsewhere: keep it and only add the settings below.
  echo "$SCRIPT_NAME: adding the test settings to the existing prefix $prefix" >&2
else
  # Empty, absent, or left half-made by an interrupted run of this script.
  rm -rf "$prefix" || die "cannot remove the unfinished prefix $prefix"
  { mkdir -p "$prefix" && touch "$creating_mark"; } || die "cannot create $prefix"
  echo "$SCRIPT_NAME: creating the Wine prefix $prefix (once)" >&2
  timeout 300 wineboot -i >/dev/null 2>&1 || die "wineboot -i failed or timed out"
fi

timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  >/dev/null 2>&1 || die "cannot set X11 Driver\\Managed"
timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  >/dev/null 2>&1 || die "cannot set WineDbg\\ShowCrashDialog"

# The registry reaches the disk when the server ends.
timeout 60 wineserver -k >/dev/null 2>&1
timeout 60 wineserver -w >/dev/null 2>&1
grep -q '"Managed"="N"' "$prefix/user.reg" || die "the prefix settings did not reach $prefix/user.reg"
touch "$ready_mark"
rm -f "$creating_mark"
