#!/usr/bin/env bash
# Configures and builds one tree: native (core and unit tests), asan (the
# same under AddressSanitizer and UndefinedBehaviorSanitizer) or windows
# (tolvu.exe and its end-to-end tests, cross-built with mingw-w64).
set -euo pipefail
cd "$(dirname "$0")/.."

# The trees are the configure presets of CMakePresets.json, in build/TREE.
tree=${1:?usage: scripts/build.sh native|asan|windows}
case $tree in
  native | asan | windows) ;;
  *)
    echo "unknown tree: $tree" >&2
    exit 2 ;;
esac
cmake --preset "$tree" > /dev/null
cmake --build "build/$tree"
