#!/usr/bin/env bash
# Builds tolvu.exe for release (the package preset's tree) and writes, in
# dist/:
#   tolvu-<version>-win64.zip      tolvu.exe, usage.md and scripting.md (from
#                                  docs), LICENSE and SHA256SUMS (their sums,
#                                  in sha256sum's format)
#   tolvu-<version>-win64.exe.sig  when signed: tolvu.exe's signature alone
#   manifests/, bucket/            with --url: the winget and Scoop manifests
# The version is the version resource's numbers, the fourth only when it is
# not 0 (1.1.0.0 gives 1.1.0), from the configured tree.
#
# Options:
#   --cert FILE --key FILE  sign tolvu.exe with this code-signing certificate
#       (PEM, with its chain) and its private key (RSA, unencrypted):
#       Authenticode, SHA-256, the program's name, signing time
#       SOURCE_DATE_EPOCH.
#   --timestamp URL  with --cert: have this RFC 3161 server time-stamp the
#       signature; the signed bytes then differ from run to run.
#   --attach SIG  instead of signing: attach a published signature (the
#       .sig file) to tolvu.exe as built here. It must match that tolvu.exe
#       and verify against the system's certificate authorities, or
#   --ca FILE  against the certificates in FILE.
#   --url URL --homepage PAGE  write the manifests: the zip will be at
#       URL/<its name>; PAGE is the project's page and names the newest zip.
#
# The same commit gives the same zip, byte for byte, wherever and whenever it
# is built: tolvu.exe is reproducible, and the entries have a fixed order,
# the commit's time (SOURCE_DATE_EPOCH, in UTC), fixed permissions and no
# extra fields (owner, extended times). An RSA signature made with the same
# certificate, key and signing time is the same too (an ECDSA one is not).
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "$0")/common.sh"

# The zip's files in their order; SHA256SUMS holds the sums of the others.
# The documents come from docs/ and link only to each other (lint.links).
readonly DOCS=(usage.md scripting.md)
readonly SUMMED=(tolvu.exe "${DOCS[@]}" LICENSE)
readonly FILES=("${SUMMED[@]}" SHA256SUMS)
readonly USAGE="[--cert FILE --key FILE [--timestamp URL] | --attach SIG [--ca FILE]] [--url URL --homepage PAGE]"

wrong() {
  echo "$SCRIPT_NAME: $*" >&2
  usage "$USAGE"
}

# The full name of a file given (the script works from the root), or die.
readable() {
  [[ -f "$1" && -r "$1" ]] || die "cannot read $1"
  realpath -- "$1"
}

cert="" key="" timestamp="" attach="" ca="" url="" homepage=""
while (($# > 0)); do
  (($# >= 2)) || wrong "$1 needs a value"
  case "$1" in
    --cert) cert="$(readable "$2")" ;;
    --key) key="$(readable "$2")" ;;
    --timestamp) timestamp="$2" ;;
    --attach) attach="$(readable "$2")" ;;
    --ca) ca="$(readable "$2")" ;;
    --url) url="${2%/}" ;;
    --homepage) homepage="$2" ;;
    *) wrong "unknown option $1" ;;
  esac
  shift 2
done
[[ -z "$cert$key" || (-n "$cert" && -n "$key") ]] || wrong "--cert and --key go together"
[[ -z "$attach" || -z "$cert" ]] || wrong "--attach replaces --cert and --key"
[[ -z "$timestamp" || -n "$cert" ]] || wrong "--timestamp needs --cert and --key"
[[ -z "$ca" || -n "$attach" ]] || wrong "--ca needs --attach"
[[ -z "$url$homepage" || (-n "$url" && -n "$homepage") ]] || wrong "--url and --homepage go together"
# Addresses go into YAML and JSON as they are: no blanks, quotes or backslashes.
for address in "$timestamp" "$url" "$homepage"; do
  [[ -z "$address" || "$address" =~ ^https?://[^[:space:][:cntrl:]\"\\]+$ ]] ||
    wrong "not an http(s) address without blanks, quotes or backslashes: $address"
done

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
title="$(<"$BUILD/title.txt")"
[[ -n "$version" && -n "$title" ]] ||
  die "the configured tree names no version or title ($BUILD/version.txt, title.txt)"
zip_file="$ROOT/dist/tolvu-$version-win64.zip"
sig_file="$ROOT/dist/tolvu-$version-win64.exe.sig"

rm -rf "$STAGE"
mkdir -p "$STAGE" "$ROOT/dist"
if [[ -n "$cert" ]]; then
  sign=(-certs "$cert" -key "$key" -h sha256 -n "$title" -time "$SOURCE_DATE_EPOCH")
  [[ -z "$timestamp" ]] || sign+=(-ts "$timestamp")
  osslsigncode sign "${sign[@]}" -in "$BUILD/tolvu.exe" -out "$STAGE/tolvu.exe" >/dev/null ||
    die "cannot sign tolvu.exe with $cert and $key${timestamp:+, time-stamped by $timestamp}"
elif [[ -n "$attach" ]]; then
  check=()
  [[ -z "$ca" ]] || check=(-CAfile "$ca")
  osslsigncode attach-signature -sigin "$attach" "${check[@]}" -in "$BUILD/tolvu.exe" \
    -out "$STAGE/tolvu.exe" >"$STAGE/attach.log" 2>&1 || {
    grep -E -i 'mismatch|error|fail' "$STAGE/attach.log" >&2 || true
    die "the signature $attach does not match tolvu.exe as built here, or does not verify"
  }
else
  cp "$BUILD/tolvu.exe" "$STAGE/"
fi
cp "${DOCS[@]/#/docs/}" LICENSE "$STAGE/"
(cd "$STAGE" && sha256sum "${SUMMED[@]}" >SHA256SUMS)
for file in "${FILES[@]}"; do
  chmod 0644 "$STAGE/$file"
  touch -d "@$SOURCE_DATE_EPOCH" "$STAGE/$file"
done

# -X: no extra fields; -D: no folder entries; the names in this order.
rm -f "$zip_file"
(cd "$STAGE" && zip -q -X -D -9 "$zip_file" "${FILES[@]}")
echo "$SCRIPT_NAME: wrote ${zip_file#"$ROOT"/}"
echo "$SCRIPT_NAME: SHA-256 $(sha256sum "$zip_file" | cut -d' ' -f1)"

# Nothing of an earlier run stays beside the zip to be taken for this one's.
rm -rf "$ROOT/dist/manifests" "$ROOT/dist/bucket"
if [[ -n "$cert$attach" ]]; then
  osslsigncode extract-signature -in "$STAGE/tolvu.exe" -out "$STAGE/tolvu.exe.sig" >/dev/null ||
    die "cannot take the signature out of the signed tolvu.exe"
  mv "$STAGE/tolvu.exe.sig" "$sig_file"
  echo "$SCRIPT_NAME: wrote ${sig_file#"$ROOT"/}"
else
  rm -f "$sig_file"
  echo "$SCRIPT_NAME: tolvu.exe is not signed (no --cert and --key, or --attach)"
fi
if [[ -n "$url" ]]; then
  cmake -DZIP="$zip_file" -DVERSION="$version" -DTITLE="$title" -DURL="$url" \
    -DHOMEPAGE="$homepage" -DOUT="$ROOT/dist" -P "$ROOT/cmake/manifests.cmake" ||
    die "cannot write the manifests"
  echo "$SCRIPT_NAME: wrote the winget manifests in dist/manifests, Scoop's in dist/bucket"
else
  echo "$SCRIPT_NAME: wrote no winget or Scoop manifests (no --url and --homepage)"
fi
