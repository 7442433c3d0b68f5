#!/usr/bin/env bash
# Installs what is missing, then configures, builds and tests every tree in
# turn: the workflow preset ci of CMakePresets.json (lint, the unit tests
# plain and under AddressSanitizer and UndefinedBehaviorSanitizer, a bounded
# fuzzing run, the end-to-end tests of tolvu.exe under Wine, and two builds
# of tolvu.exe that must be byte for byte the same).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
exec cmake --workflow --preset ci
