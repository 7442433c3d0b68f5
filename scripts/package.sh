#!/usr/bin/env bash
# Builds tolvu.exe for release (the package preset's tree) and writes
# dist/tolvu-<version>-win64.zip: tolvu.exe, README.md, LICENSE and SHA256SUMS
# (their sums, in sha256sum's format). The version is the project's, from
# the configured tree.
#
# The same commit gives the same zip, byte for byte, wherever and whenever it
# is built: tolvu.exe is reproducible, and the entries have a fixed order,
# the commit's time (SOURCE_DATE_EPOCH, in UTC), fixed permissions and no
# extra fields (owner, extended times).
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "$0")/common.sh"

readonly FILES=(tolvu.exe README.md LICENSE SHA256SUMS)
[[ $# -eq 0 ]] || usage ""

"$ROOT/scripts/install-deps.sh"
cd "$ROOT"

if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
  SOURCE_DATE_EPOCH="$(git log -1 --format=%ct 2>/dev/null)" ||
    die "cannot read the commit's time (not a git checkout?); set SOURCE_DATE_EPOCH"
fi
[[ "$SOURCE_DATE_EPOCH" =~ ^[0-9]+$ ]] || die "SOURCE_DATE_EPOCH must be seconds since 1970"
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
umask 022

BUILD="$(tree_of package)"
readonly BUILD STAGE="$BUILD/stage"
cmake --build --preset package >/dev/null

version="$(<"$BUILD/version.txt")"
[[ -n "$version" ]] || die "the configured tree names no version ($BUILD/version.txt is empty)"
zip_file="$ROOT/dist/tolvu-$version-win64.zip"

rm -rf "$STAGE"
mkdir -p "$STAGE" "$ROOT/dist"
cp "$BUILD/tolvu.exe" README.md LICENSE "$STAGE/"
(cd "$STAGE" && sha256sum tolvu.exe README.md LICENSE >SHA256SUMS)
for file in "${FILES[@]}"; do
  chmod 0644 "$STAGE/$file"
  touch -d "@$SOURCE_DATE_EPOCH" "$STAGE/$file"
done

# -X: no extra fields; -D: no folder entries; the names in this order.
rm -f "$zip_file"
(cd "$STAGE" && zip -q -X -D -9 "$zip_file" "${FILES[@]}")
echo "$SCRIPT_NAME: wrote ${zip_file#"$ROOT"/}"
echo "$SCRIPT_NAME: SHA-256 $(sha256sum "$zip_file" | cut -d' ' -f1)"
