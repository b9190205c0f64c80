# Debian 12 packages the program needs, sourced by run.sh, test.sh, test-sanitized.sh,
# fuzz.sh and package.sh.
BUILD_PACKAGES=(cmake make g++ qt6-base-dev libgl-dev)
# The Debian package is built with debhelper (package.sh and the package test).
PACKAGE_PACKAGES=(debhelper)
RUN_PACKAGES=(libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins fonts-dejavu-core xdg-utils)
# dbus, at-spi2-core and python3-pyatspi let a test listen as a screen reader
# does; orca is a screen reader that logs what it says with no synthesizer or
# sound card; tesseract reads captions back from screenshots. xclip pastes long
# and unusual text, xrefresh makes every window repaint, and python3 plays a
# print server that never answers and reads back web addresses. The package
# test builds the package, checks it with lintian and file, and opens a saved
# reading as a desktop does, with gio and the MIME database; groff checks the
# manual page.
TEST_PACKAGES=(xvfb openbox metacity xdotool x11-utils x11-xserver-utils xclip imagemagick
  cups-daemon cups-client cups-bsd printer-driver-cups-pdf poppler-utils faketime
  desktop-file-utils appstream libxml2-utils dbus at-spi2-core python3 python3-pyatspi orca
  tesseract-ocr tesseract-ocr-eng "${PACKAGE_PACKAGES[@]}" lintian file libglib2.0-bin
  shared-mime-info groff-base)
# The Windows version: the MinGW-w64 cross compiler, Ninja for building Qt,
# Wine (with the fonts Windows programs expect) to run and test it, NSIS for
# its installer, zip for the portable copy and ImageMagick for its icons.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix ninja-build dpkg-dev wine wine64 fonts-wine nsis zip
  imagemagick)
# The fuzz targets: clang, with libFuzzer and the sanitizer runtimes it links.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# install_packages <package>...: installs what is missing, as root or through sudo.
install_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  local as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" </dev/null
}

# build <folder> [cmake option...]: configures and builds the program and its
# tests; on no more than two cores, which the machine shares.
build() {
  local folder=$1
  shift
  cmake -S "$ROOT" -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$folder" --parallel "$(build_jobs)"
}

build_jobs() {
  local cores
  cores=$(nproc)
  echo $((cores < 2 ? cores : 2))
}
