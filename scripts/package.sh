#!/usr/bin/env bash
# Installs what the package build needs and builds the Debian package from
# debian/, in a copy of the source under build/debian-package/; prints the
# package's path.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"

install_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
bash "$ROOT/packaging/build-deb.sh" "$ROOT/build/debian-package"
