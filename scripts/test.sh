#!/usr/bin/env bash
# Builds radioset and runs every test twice: an optimised build with warnings
# as errors, then a debug build with AddressSanitizer and UndefinedBehavior-
# Sanitizer; runs clang-tidy over our sources and each fuzz target for 30 s.
# Installs the packages it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build test

export QT_QPA_PLATFORM=offscreen
for preset in ci asan; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset" --parallel 2
  if [ "$preset" = ci ]; then
    echo "== clang-tidy"
    scripts/tidy.sh build/ci
  fi
done

echo "== fuzz"
scripts/fuzz.sh 30
