#!/usr/bin/env bash
# Checks the C and C++ sources against .clang-format and .clang-tidy and
# fails on any finding.
#
#   scripts/lint.sh             check formatting, then run clang-tidy
#   scripts/lint.sh --format    rewrite the sources with clang-format instead
#
# clang-tidy runs twice: on the portable code, the unit tests and the fuzz
# target with the fuzzing tree's compile commands (build/fuzz, clang), and on
# the Windows-only sources (the Windows host, the entry point and the
# end-to-end programs) with the cross tree's (build/windows), as clang for
# the mingw-w64 target with mingw-w64's headers. The checks are those of clang-tidy 14, which the
# configuration is written for.
set -euo pipefail

readonly SCRIPT_NAME="lint.sh"
readonly ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
readonly CLANG_FORMAT=clang-format-14
readonly CLANG_TIDY=clang-tidy-14
readonly RUN_CLANG_TIDY=run-clang-tidy-14
readonly MINGW_CXX=x86_64-w64-mingw32-g++

die() {
  echo "$SCRIPT_NAME: $*" >&2
  exit 2
}

mode=check
case "${1:-}" in
  "") ;;
  --format) mode=format ;;
  *) die "usage: $SCRIPT_NAME [--format]" ;;
esac

"$ROOT/scripts/install-deps.sh"

cd "$ROOT"
mapfile -t sources < <(git ls-files --cached --others --exclude-standard \
  'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.c' | sort -u)
[[ ${#sources[@]} -gt 0 ]] || die "found no sources"

if [[ $mode == format ]]; then
  "$CLANG_FORMAT" -i --style=file "${sources[@]}"
  echo "$SCRIPT_NAME: formatted ${#sources[@]} files"
  exit 0
fi

failed=0
# src/host is the platform seam and includes nothing above it; the
# operations in registry/ and regfiles/ know nothing of each other and take
# from cli/ only what the front end gives them: StripQuotes, the type codes,
# the root-key table (the README's layout section gives the reasons).
echo "== include rules"
includes="$(grep -HnE '^#include "(cli|registry|regfiles)/' src/host/* || true
  grep -HnE '^#include "regfiles/' src/registry/* || true
  grep -HnE '^#include "registry/' src/regfiles/* || true
  grep -HnE '^#include "cli/' src/registry/* src/regfiles/* |
    grep -vE '"cli/(split_command_line|data_types|root_keys)\.h"' || true)"
if [[ -n "$includes" ]]; then
  echo "$includes"
  echo "$SCRIPT_NAME: an include crosses the layout's folders the wrong way" >&2
  failed=1
fi

echo "== clang-format (${#sources[@]} files)"
if ! "$CLANG_FORMAT" --dry-run -Werror --style=file "${sources[@]}"; then
  echo "$SCRIPT_NAME: formatting differs; scripts/lint.sh --format rewrites the files" >&2
  failed=1
fi

# Configured here, not built: clang-tidy needs the compile commands and the
# generated headers.
cmake --preset fuzz >/dev/null
cmake --preset windows >/dev/null

# clang for the mingw-w64 target takes the C++ library and Windows headers
# from mingw-w64's g++, but its own compiler headers.
mingw_includes=()
while read -r dir; do
  dir="$(realpath "$dir")"
  case "$dir" in
    */include-fixed | /usr/lib/gcc/*/include) continue ;;
  esac
  mingw_includes+=("-extra-arg=-isystem$dir")
done < <(echo | "$MINGW_CXX" -x c++ -E -v - 2>&1 |
  sed -n '/#include <...> search starts here:/,/End of search list/p' | sed '1d;$d')

tidy() {  # tidy LABEL BUILD_DIR FILE_REGEX [EXTRA_ARG...]
  local label="$1" build="$2" files="$3"
  shift 3
  echo "== clang-tidy: $label"
  local output status
  set +e
  output="$("$RUN_CLANG_TIDY" -quiet -j "$(nproc)" -clang-tidy-binary "$(command -v "$CLANG_TIDY")" \
    -p "$build" "$@" "$files" 2>&1)"
  status=$?
  set -e
  # Keep the findings; drop the colours and the per-file chatter.
  sed 's/\x1b\[[0-9;]*m//g' <<<"$output" |
    grep -vE '^([^ ]*clang-tidy-14 |[0-9]+ warnings? (and [0-9]+ errors? )?generated|Suppressed [0-9]+ warnings|Use -header-filter|[0-9]+ warnings? treated as errors)' || true
  if [[ $status -ne 0 ]]; then
    failed=1
  fi
}

tidy "portable code, unit tests, fuzz target" build/fuzz "^$ROOT/(src|tests)/"
tidy "Windows-only code" build/windows \
  "^$ROOT/(src/host/windows_host\.cpp|src/cli/win_main\.cpp|tests/e2e/.*\.cpp)$" "${mingw_includes[@]}"

if [[ $failed -ne 0 ]]; then
  echo "$SCRIPT_NAME: FAILED" >&2
  exit 1
fi
echo "$SCRIPT_NAME: clean"
