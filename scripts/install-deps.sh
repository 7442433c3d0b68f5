#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages, when any
# of it is missing. Needs root (or sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev googletest    # native tree and unit tests
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64  # tolvu.exe
  wine wine64 xvfb                                # end-to-end tests
  clang libclang-rt-14-dev clang-format clang-tidy  # fuzzing and lint
  time                                            # benchmark
  zip osslsigncode openssl python3-yaml           # release package, its signature and checks
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}" >&2
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >&2
