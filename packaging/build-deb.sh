#!/usr/bin/env bash
# Builds the Debian package from debian/ in a copy of the source under the
# given folder, so that the source tree is never written, and prints the
# package's path. The package's dependencies must be installed (debhelper and
# the Build-Depends of debian/control). The build's output goes to
# <folder>/build.log; a failed build prints its end.
# Usage: build-deb.sh <folder>
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
folder=$(mkdir -p "$1" && cd "$1" && pwd)
source=$folder/source

rm -rf "$source" "$folder"/australian-astrology*_*
mkdir "$source"
# The working tree as it stands, without the version control and build folders.
tar -C "$ROOT" --exclude=./.git --exclude='./build*' --exclude=./.cache --exclude='./obj-*' \
  -cf - . | tar -C "$source" -xf -

cores=$(nproc)
export DEB_BUILD_OPTIONS="parallel=$((cores < 2 ? cores : 2)) ${DEB_BUILD_OPTIONS:-}"
if ! (cd "$source" && dpkg-buildpackage -us -uc -b) >"$folder/build.log" 2>&1; then
  tail -n 40 "$folder/build.log" >&2
  echo "The package build failed; its whole output is in $folder/build.log" >&2
  exit 1
fi
echo "$folder"/australian-astrology_*.deb
