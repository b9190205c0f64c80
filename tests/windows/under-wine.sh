#!/usr/bin/env bash
# The Windows build under Wine, on a private Xvfb with openbox and in a fresh
# Wine prefix: its unit and gui tests, then the installer in silent mode, the
# installed program driven as the end-to-end tests drive the Linux one, and
# the uninstaller (installed.sh). QUORRIN_WINDOWS_BUILD names the folder
# scripts/windows.sh built into. With QUORRIN_REFRESH_DOCS=1 the pictures of
# the windows under Wine are kept in docs/windows/.
: "${QUORRIN_WINDOWS_BUILD:?QUORRIN_WINDOWS_BUILD must name the Windows build folder}"
export QUORRIN_TESTS=${QUORRIN_TESTS:-$(cd "$(dirname "$0")/.." && pwd)}
# lib.sh wants the program first; the installed one is named once installed.
export QUORRIN_PROGRAM=/nonexistent QUORRIN_WINE=1
source "$QUORRIN_TESTS/e2e/lib.sh"

export WINEPREFIX="$WORK/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's own processes outlive the programs it ran: they end with the test.
trap 'status=$?; wineserver --kill 2>/dev/null; (exit $status); cleanup' EXIT
trace "making a Wine prefix"
wineboot --init >>"$WORK/wine.log" 2>&1 || fail "wineboot could not make a prefix: $(tail "$WORK/wine.log")"

# wine_environment <name> <value>: Wine hands programs no QT_ variable of its
# own environment, so those go into the user's environment in the registry.
wine_environment() {
  wine reg add 'HKCU\Environment' /v "$1" /t REG_SZ /d "$2" /f >>"$WORK/wine.log" 2>&1 ||
    fail "cannot set $1 in the Wine prefix"
}
# Qt writes its messages, and Qt Test its results, where the terminal sees them.
wine_environment QT_FORCE_STDERR_LOGGING 1
# Qt's offscreen platform finds fonts only in a folder it is given.
wine_environment QT_QPA_FONTDIR 'Z:\usr\share\fonts\truetype\dejavu'
wineserver --wait

# The tests find Qt's libraries and the MinGW runtime where they were built.
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
WINEPATH="$(winepath -w "$(cat "$QUORRIN_WINDOWS_BUILD/qt-prefix")/bin");$(winepath -w "$gcc_runtime")"
export WINEPATH="$WINEPATH;$(winepath -w /usr/x86_64-w64-mingw32/lib)"

echo "--- the unit and gui tests under Wine"
(cd "$QUORRIN_WINDOWS_BUILD/build" && ctest --output-on-failure --timeout 300) ||
  fail "unit or gui tests failed under Wine"

source "$QUORRIN_TESTS/windows/installed.sh"
echo "under Wine: passed"
