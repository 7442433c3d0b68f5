#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test: lint,
# unit tests (plain and under ASan/UBSan), a bounded fuzzing run, and the
# end-to-end suite of tolvu.exe under Wine, and that two builds of tolvu.exe
# in two folders are byte for byte the same.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== lint"
scripts/lint.sh

echo "== unit tests"
scripts/build.sh native
ctest --test-dir build/native --output-on-failure

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh asan
ctest --test-dir build/asan --output-on-failure

echo "== fuzzing, ${TOLVU_FUZZ_SECONDS:-60} s"
scripts/fuzz.sh "${TOLVU_FUZZ_SECONDS:-60}"

echo "== end-to-end tests under Wine"
scripts/build.sh windows
ctest --test-dir build/windows --output-on-failure

echo "== reproducible build of tolvu.exe"
scripts/check-reproducible.sh
