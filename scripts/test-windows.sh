#!/usr/bin/env bash
# Builds the Windows version (scripts/windows.sh) and tests it under Wine on a
# private Xvfb, in a fresh Wine prefix: the unit and gui tests, then the
# installer in silent mode, the installed program driven end to end, and the
# uninstaller.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"

bash "$ROOT/scripts/windows.sh"
install_packages "${TEST_PACKAGES[@]}"
QUORRIN_WINDOWS_BUILD="$ROOT/build-windows" QUORRIN_TESTS="$ROOT/tests" \
  QUORRIN_FAILURES="$ROOT/build-windows/e2e-failures" bash "$ROOT/tests/windows/under-wine.sh"
