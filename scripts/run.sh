#!/usr/bin/env bash
# Builds radioset (release) and starts it. Installs the packages it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/shell/radioset "$@"
