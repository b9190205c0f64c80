#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ and runs
# each from its seeds in fuzz/corpus/ for a bounded time (QUORRIN_FUZZ_SECONDS,
# 60 by default). A crash, a hang, a leak, too much memory or a broken check
# fails the run; the input that did it is kept in build-fuzz/crashes/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"

install_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
BUILD=$ROOT/build-fuzz
CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DASTROLOGY_FUZZ=ON -DBUILD_TESTING=OFF
cmake --build "$BUILD" --target fuzzers --parallel "$(build_jobs)"

export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$BUILD/crashes"
passed=0 failed=0
for seeds in "$ROOT"/fuzz/corpus/*/; do
  target=$(basename "$seeds")
  # New inputs go to a corpus of the build, never into the committed seeds.
  corpus=$BUILD/corpus/$target
  mkdir -p "$corpus"
  echo "== $target"
  if "$BUILD/fuzz/$target" "$corpus" "$seeds" -max_total_time="${QUORRIN_FUZZ_SECONDS:-60}" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$BUILD/crashes/$target-" 2>"$BUILD/$target.log"; then
    passed=$((passed + 1))
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$BUILD/$target.log" || true
  else
    failed=$((failed + 1))
    tail -n 60 "$BUILD/$target.log"
    echo "FAIL: $target; the input is in $BUILD/crashes/"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
