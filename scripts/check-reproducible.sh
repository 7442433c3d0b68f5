#!/usr/bin/env bash
# Checks that tolvu.exe is reproducible: builds it twice, from copies of the
# sources in two folders of different names, one after the other, and fails
# unless the two files are byte for byte the same.
set -euo pipefail

readonly SCRIPT_NAME="check-reproducible.sh"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
readonly ROOT

die() {
  echo "$SCRIPT_NAME: $*" >&2
  exit 2
}

"$ROOT/scripts/install-deps.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/tolvu-repro.XXXXXX")" || die "cannot make a temporary folder"
trap 'rm -rf "$work"' EXIT

# The sources as they are in the working tree (committed or not), without
# build trees or anything else git ignores.
copy_sources() {  # copy_sources DEST
  mkdir -p "$1"
  (cd "$ROOT" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do
      if [[ -e "$file" ]]; then  # not deleted in the working tree
        printf '%s\0' "$file"
      fi
    done | tar --null -T - -cf -) | tar -xf - -C "$1"
}

# Without a fixed date, anything that dates the build shows as a difference.
unset SOURCE_DATE_EPOCH

build() {  # build FOLDER
  local source="$work/$1"
  copy_sources "$source"
  echo "$SCRIPT_NAME: building tolvu.exe in $source"
  (cd "$source" && cmake --preset package >/dev/null &&
    cmake --build build/package --target tolvu >/dev/null)
}

build first
sleep 2  # a clock read by the build then differs
build second-in-a-longer-folder-name

first="$work/first/build/package/tolvu.exe"
second="$work/second-in-a-longer-folder-name/build/package/tolvu.exe"
if ! cmp "$first" "$second"; then
  echo "$SCRIPT_NAME: tolvu.exe differs between the two builds; the differing bytes (offset, first, second):" >&2
  cmp -l "$first" "$second" | head -n 20 >&2
  exit 1
fi
echo "$SCRIPT_NAME: both builds give the same tolvu.exe, SHA-256 $(sha256sum "$first" | cut -d' ' -f1)"
