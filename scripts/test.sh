#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test. The
# end-to-end tests start their own X server, so no display is needed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"

install_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
build "$ROOT/build"
cd "$ROOT/build"
ctest --output-on-failure --timeout 600
