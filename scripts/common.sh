# Sourced by the scripts here and by bench/startup.sh: what they share.
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
# its folder, which only CMakePresets.json names.
tree_of() {
  local output
  output="$(cd "$ROOT" && cmake --preset "$1")" || die "cannot configure the $1 tree"
  sed -n 's/^-- Build files have been written to: //p' <<<"$output" | tail -n 1
}
