#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer in build-sanitized/ and runs the unit, gui and
# end-to-end tests there. Any report fails the test it came from.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"

install_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
build "$ROOT/build-sanitized" -DASTROLOGY_SANITIZE=ON

# The end-to-end tests start the program under libfaketime through LD_PRELOAD,
# which puts it before the ASan runtime in the list of libraries. ASan refuses
# that order because a library ahead of it could take the calls it intercepts,
# malloc and friends above all. libfaketime takes only clock and time calls and
# hands each on to the next library in line (ASan's interceptor, where there is
# one), and ASan sets itself up from the program's preinit array before any
# library's initialiser runs; so the check is switched off, not the test.
export ASAN_OPTIONS="detect_leaks=1:verify_asan_link_order=0:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$ROOT/build-sanitized"
ctest --output-on-failure --timeout 900 -L 'unit|gui|e2e'
