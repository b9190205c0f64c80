#!/usr/bin/env bash
# Installs what the program needs, builds it and starts it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"

install_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}"
build "$ROOT/build"
exec "$ROOT/build/src/australian-astrology"
