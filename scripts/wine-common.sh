# Sourced by wine-run.sh and wine-session.sh: what they share. Each defines
# SCRIPT_NAME and die before sourcing it.

# Dies unless the programs both scripts run are installed.
require_wine_tools() {
  local tool
  for tool in wine wineserver timeout flock; do
    command -v "$tool" >/dev/null || die "'$tool' is not installed"
  done
}

# The environment every Wine program of the tool's runs in, on PREFIX.
use_wine_prefix() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # C.UTF-8 makes the prefix's ANSI code page 1252.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
}

# start_virtual_display FOLDER starts Xvfb on a free display number, with
# its output in FOLDER/xvfb.log, and sets DISPLAY and VIRTUAL_DISPLAY_PID
# (the latter as soon as Xvfb runs, so that the caller can stop it). Returns
# 1, after showing why, when no display comes up.

start_virtual_display() {
  local folder="$1"
  VIRTUAL_DISPLAY_PID=""
  if ! command -v Xvfb >/dev/null; then
    echo "$SCRIPT_NAME: cannot start a display: Xvfb is not installed" \
      "(apt-get install xvfb), or set TOLVU_DISPLAY" >&2
    return 1
  fi
  local number_file="$folder/display-number" log="$folder/xvfb.log"
  # -displayfd: the server picks a free display number and writes it once it
  # accepts connections, so there is neither a race nor a guess. It gets
  # neither the caller's input and output (CTest's pipes) nor its lock.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" \
    </dev/null >"$log" 2>&1 9>&- &
  VIRTUAL_DISPLAY_PID=$!
  local number=""
  for _ in $(seq 100); do
    number="$(tr -dc '0-9' <"$number_file" 2>/dev/null)"
    [[ -n "$number" ]] && break
    kill -0 "$VIRTUAL_DISPLAY_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [[ -z "$number" ]]; then
    echo "$SCRIPT_NAME: cannot start a display: Xvfb did not come up. Its output:" >&2
    sed 's/^/  /' "$log" >&2
    return 1
  fi
  DISPLAY=":$number"
}
