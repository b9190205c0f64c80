#!/usr/bin/env bash
# Builds the Windows version here, from Debian's archive alone: Qt for Windows
# from Debian's own qtbase source (once; later runs reuse it), then the program,
# its unit and gui tests, the installer and a portable zip, all in
# build-windows/.
#
#   bash scripts/windows.sh          build everything
#   bash scripts/windows.sh qt       only make sure Qt for Windows is built
#
# The built Qt is kept under $QUORRIN_WINDOWS_CACHE (default
# ~/.cache/quorrin-windows), in a folder named after a hash of its recipe:
# the configure options, the toolchain file, the Qt patches and Debian's source
# version. A changed recipe builds Qt again.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"
RECIPE="$ROOT/packaging/windows"
TOOLCHAIN="$RECIPE/mingw-w64-x86_64.cmake"
CACHE=${QUORRIN_WINDOWS_CACHE:-$HOME/.cache/quorrin-windows}
OUT="$ROOT/build-windows"

# The deb-src line that apt-get source needs, for the suites apt already uses.
enable_debian_sources() {
  local list=/etc/apt/sources.list.d/quorrin-qt-source.sources
  [ -f "$list" ] && return 0
  local as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" tee "$list" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  "${as_root[@]}" apt-get update -qq
}

# The host tools (moc, rcc, uic) come from Debian's qt6-base-dev, so the Windows
# Qt is built from the source of exactly that version.
qt_source_version() {
  dpkg-query -W -f='${source:Version}' qt6-base-dev
}

qt_recipe_key() {
  {
    qt_source_version
    cat "$RECIPE/qt-configure-options" "$TOOLCHAIN"
    cat "$RECIPE"/qt-patches/*.patch 2>/dev/null || true
  } | sha256sum | cut -c1-16
}

qt_configure_options() {
  grep -v '^#' "$RECIPE/qt-configure-options" | grep -v '^$' | tr '\n' ' '
}

# build_windows_qt: prints the prefix of the Windows Qt, building it first
# when no build of this recipe is kept.
build_windows_qt() {
  local prefix
  prefix="$CACHE/qt-$(qt_recipe_key)"
  if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    return 0
  fi
  local work="$CACHE/work"
  rm -rf "$work" "$prefix"
  mkdir -p "$work/source"
  echo "Building Qt $(qt_source_version) for Windows in $work (about 20 minutes on two cores)" >&2
  (cd "$work/source" && apt-get source -qq "qt6-base=$(qt_source_version)" >&2)
  local source
  source=$(find "$work/source" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')
  for patch in "$RECIPE"/qt-patches/*.patch; do
    [ -f "$patch" ] && patch -d "$source" -p1 --forward <"$patch" >&2
  done
  mkdir -p "$work/build"
  local start=$SECONDS
  # shellcheck disable=SC2046 # the options are words
  (cd "$work/build" &&
    "$source/configure" -prefix "$prefix" -xplatform win32-g++ \
      -device-option CROSS_COMPILE=x86_64-w64-mingw32- -qt-host-path /usr \
      $(qt_configure_options) -- -G Ninja \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
      -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" >&2 &&
    cmake --build . --parallel "$(build_jobs)" >&2 &&
    cmake --install . >&2)
  echo "Qt for Windows built in $((SECONDS - start)) s" >&2
  touch "$prefix/.complete"
  rm -rf "$work"
  echo "$prefix"
}

# The program's version, as CMake knows it.
program_version() {
  sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt"
}

build_program() {
  "$QT_PREFIX/bin/qt-cmake" -S "$ROOT" -B "$OUT/build" -G Ninja \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$TOOLCHAIN" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/tests/windows/wine-run.sh" >/dev/null
  cmake --build "$OUT/build" --parallel "$(build_jobs)"
}

# What the program needs at its side on Windows: Qt's libraries and the two
# plugins it loads, and the MinGW runtime.
stage_program() {
  local stage="$OUT/stage" gcc_runtime
  gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
  rm -rf "$stage"
  mkdir -p "$stage/platforms" "$stage/styles"
  cp "$OUT/build/src/australian-astrology.exe" "$stage/"
  for module in Core Gui Widgets PrintSupport; do
    cp "$QT_PREFIX/bin/Qt6$module.dll" "$stage/"
  done
  cp "$QT_PREFIX/plugins/platforms/qwindows.dll" "$stage/platforms/"
  cp "$QT_PREFIX/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
  cp "$gcc_runtime/libstdc++-6.dll" "$gcc_runtime/libgcc_s_seh-1.dll" \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
  cp "$ROOT/LICENSE" "$stage/LICENSE.txt"
  find "$stage" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
}

# The installer's uninstall list: every file it installs, then its folders,
# deepest first, so that the uninstaller removes only what it put there.
installed_files() {
  (cd "$OUT/stage" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|')
  (cd "$OUT/stage" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|')
}

package_program() {
  local version
  version=$(program_version)
  installed_files >"$OUT/installed-files.nsh"
  rm -f "$OUT"/australian-astrology-*-setup.exe "$OUT"/australian-astrology-*-windows.zip
  makensis -V2 -DVERSION="$version" -DSTAGE="$OUT/stage" -DFILES="$OUT/installed-files.nsh" \
    -DICONS="$OUT/build/packaging/windows" \
    -DOUTFILE="$OUT/australian-astrology-$version-setup.exe" "$RECIPE/installer.nsi"
  (cd "$OUT/stage" && zip -q -r "$OUT/australian-astrology-$version-windows.zip" .)
}

install_packages "${BUILD_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
enable_debian_sources
QT_PREFIX=$(build_windows_qt)
[ "${1:-}" = qt ] && exit 0
mkdir -p "$OUT"
echo "$QT_PREFIX" >"$OUT/qt-prefix"
build_program
stage_program
package_program
echo "$OUT/australian-astrology-$(program_version)-setup.exe"
echo "$OUT/australian-astrology-$(program_version)-windows.zip"
