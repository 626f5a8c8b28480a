#!/usr/bin/env bash
# clang-tidy over the project's own sources (checks in .clang-tidy), using
# the compile commands of a configured build (default build/ci).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
[ -f "$build/compile_commands.json" ] || { echo "tidy.sh: configure $build first" >&2; exit 2; }
git ls-files '*.cpp' | grep -E '^(platform|link|module|freqplan|shell|texts|sim)/' |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2>/dev/null
echo "clang-tidy: clean"
