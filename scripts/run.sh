#!/usr/bin/env bash
# Builds tolvu.exe and runs it under Wine with exactly the command line
# given, as one argument, quotes as typed:
#
#   scripts/run.sh 'add "HKCU\Software\My Key" MyDataName MyDataValue'
#
# With a display (DISPLAY set) the boxes show there for you to answer.
# Without one they cannot show: the run goes to a virtual display instead and
# each box's title, icon and text are printed here and answered with OK.
# Ends with the tool's exit status (a Unix shell keeps its low 8 bits; the
# full status is printed on standard error).
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[[ $# -eq 1 ]] || usage "'COMMAND LINE'   (one argument, as typed after tolvu)"

"$ROOT/scripts/install-deps.sh"
tree="$(tree_of windows)"
# Quiet unless the build fails.
build_output="$(cmake --build "$tree" --target tolvu_run 2>&1)" ||
  die "cannot build tolvu_run.exe:"$'\n'"$build_output"

runner="$tree/tolvu_run.exe"
if [[ -n "${DISPLAY:-}" ]]; then
  TOLVU_DISPLAY="$DISPLAY" exec "$ROOT/scripts/wine.sh" run "$runner" "$1"
fi
echo "No display is available (DISPLAY is not set), so the message boxes cannot" \
  "show: running on a virtual display and printing each box here instead." >&2
exec "$ROOT/scripts/wine.sh" run "$runner" --answer "$1"
