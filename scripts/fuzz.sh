#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each for the
# given number of seconds (default 30), starting from the seed corpus in
# fuzz/corpus/<target>. Fails when a target finds a crash, a sanitizer
# report or a broken invariant; the input that did it is kept in
# build/fuzz/artifacts/.
#
# Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_dispatch fuzz_inifile fuzz_conversions fuzz_frequency)

build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"

mkdir -p "$build/artifacts"
status=0
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  work="$build/work/$name"
  extra=()
  # Qt's caches make almost every input of a window target look like a
  # leak to libFuzzer's per-input check, which then costs more than the
  # input; leaks of the window code are the gtest ASan runs' business.
  case "$target" in fuzz_dispatch|fuzz_frequency) extra=(-detect_leaks=0) ;; esac
  mkdir -p "$work"
  echo "== $target: ${seconds}s"
  # New inputs go to the first folder; the seeds in the repository stay as
  # they are.
  if ! "$build/$target" "$work" "fuzz/corpus/$name" \
      -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$name-" "${extra[@]}" 2>"$build/$name.log"; then
    tail -n 60 "$build/$name.log"
    echo "== $target FAILED (log: $build/$name.log)"
    status=1
  else
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$build/$name.log" || true
  fi
done
exit $status
