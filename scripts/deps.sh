#!/usr/bin/env bash
# Installs what radioset needs on Debian 12, skipping what is already there.
# Usage: scripts/deps.sh [build|test|screenshot|package]...
set -euo pipefail

build=(cmake ninja-build g++ pkgconf qt6-base-dev qt6-serialport-dev fonts-wqy-microhei)
test=(libgtest-dev clang-tidy clang libclang-rt-14-dev)
screenshot=(xvfb xauth imagemagick)
package=(dpkg-dev file)

wanted=("${build[@]}")
for set in "$@"; do
  case "$set" in
    build) ;;
    test) wanted+=("${test[@]}") ;;
    screenshot) wanted+=("${screenshot[@]}") ;;
    package) wanted+=("${package[@]}") ;;
    *) echo "deps.sh: unknown set '$set'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
