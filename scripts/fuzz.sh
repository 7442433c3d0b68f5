#!/usr/bin/env bash
# Builds the libFuzzer target over the request path (clang, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs it for a bounded time.
#
#   scripts/fuzz.sh [SECONDS] [LIBFUZZER_OPTION...]
#
# SECONDS defaults to 60; options after it go to libFuzzer, e.g. -fork=2 to
# use two processes (as many as cores). The committed seeds in tests/fuzz/seeds are only
# read; what the fuzzer finds goes to build/fuzz/corpus, which later runs
# start from, and a failing input to build/fuzz/artifacts/. Exits non-zero
# when the fuzzer finds a crash, undefined behaviour or a broken check.
set -euo pipefail

readonly SCRIPT_NAME="fuzz.sh"
readonly ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
readonly BUILD="$ROOT/build/fuzz"
readonly FUZZER="$BUILD/tests/fuzz/tolvu_request_fuzzer"

die() {
  echo "$SCRIPT_NAME: $*" >&2
  exit 2
}

seconds="${1:-60}"
[[ "$seconds" =~ ^[0-9]+$ && "$seconds" -gt 0 ]] || die "usage: $SCRIPT_NAME [SECONDS] [LIBFUZZER_OPTION...]"
shift $(( $# > 0 ? 1 : 0 ))

# clang with its libFuzzer runtime: probe by linking an empty target.
can_link_fuzzer() {
  command -v clang++ >/dev/null || return 1
  local probe
  probe="$(mktemp -d)"
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$probe/probe.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1
  local status=$?
  rm -rf "$probe"
  return $status
}

"$ROOT/scripts/install-deps.sh"
can_link_fuzzer || die "clang cannot link a libFuzzer target"

(cd "$ROOT" && cmake --preset fuzz >/dev/null)
cmake --build "$BUILD" --target tolvu_request_fuzzer >/dev/null

mkdir -p "$BUILD/corpus" "$BUILD/artifacts"
log="$BUILD/fuzz.log"
started="$BUILD/fuzz.started"
touch "$started"
echo "$SCRIPT_NAME: fuzzing the request path for $seconds s (log: $log)"
set +e
"$FUZZER" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -dict="$ROOT/tests/fuzz/tolvu.dict" -artifact_prefix="$BUILD/artifacts/" \
  -print_final_stats=1 "$@" "$BUILD/corpus" "$ROOT/tests/fuzz/seeds" >"$log" 2>&1
status=$?
set -e

# The last progress line (its form differs with -fork) and the final stats.
grep -E '^#[0-9]+:?[[:space:]].*cov:' "$log" | tail -n 1 || true
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true
if [[ $status -ne 0 ]]; then
  echo "$SCRIPT_NAME: the fuzzer failed (exit $status); the end of its log:" >&2
  tail -n 60 "$log" >&2
  find "$BUILD/artifacts" -type f -newer "$started" | while read -r artifact; do
    echo "$SCRIPT_NAME: reproduce with: $FUZZER $artifact" >&2
  done
  exit 1
fi
echo "$SCRIPT_NAME: no failure found"
