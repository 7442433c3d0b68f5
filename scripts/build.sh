#!/usr/bin/env bash
# Configures and builds one tree: native (core and unit tests), asan (the
# same under AddressSanitizer and UndefinedBehaviorSanitizer) or windows
# (tolvu.exe and its end-to-end tests, cross-built with mingw-w64).
set -euo pipefail
cd "$(dirname "$0")/.."

tree=${1:?usage: scripts/build.sh native|asan|windows}
case $tree in
  native)
    cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug ;;
  asan)
    cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVU_SANITIZE=ON ;;
  windows)
    # The toolchain file counts only when the tree is first configured;
    # passing it again makes CMake warn that it was not used.
    toolchain=()
    [[ -f build/windows/CMakeCache.txt ]] ||
      toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
    cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release "${toolchain[@]}" ;;
  *)
    echo "unknown tree: $tree" >&2
    exit 2 ;;
esac > /dev/null
cmake --build "build/$tree"
