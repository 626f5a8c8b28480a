#!/usr/bin/env bash
# Builds the Debian package build/release/radioset_<version>_<arch>.deb.
# Install it with: sudo apt install ./build/release/radioset_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build package
cmake --preset release >/dev/null
cmake --build --preset release
(cd build/release && cpack -G DEB)
ls build/release/radioset_*.deb
