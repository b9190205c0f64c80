#!/usr/bin/env bash
# Installs what the build needs, builds the program and makes its Debian
# package in build/; prints the package's path.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"

install_packages "${BUILD_PACKAGES[@]}"
build "$ROOT/build"
cd "$ROOT/build"
rm -f australian-astrology_*.deb
cpack -G DEB >/dev/null
echo "$ROOT"/build/australian-astrology_*.deb
