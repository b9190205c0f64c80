#!/usr/bin/env bash
# The Debian package, built from debian/ as Debian builds packages, in a copy
# of the source: lintian finds no error or warning in it; it installs the
# program where the desktop entry finds it, every icon the desktop entry and
# the .zod type name, the MIME type, the metadata and the manual page; it
# depends on the Qt libraries the program links. Installed with apt, the
# program starts, and the desktop opens a saved reading with it, whether or
# not a copy is running already.
#
# Installing a package needs root (or sudo without a password): CI runs the
# tests as root. Anyone else is told so and the test is skipped.
if [ "$(id -u)" -eq 0 ]; then
  AS_ROOT=()
elif sudo -n true 2>/dev/null; then
  AS_ROOT=(sudo -n)
else
  echo "e2e package: skipped: it installs the package with apt-get, which needs root or sudo without a password"
  exit 77
fi
# Until the package is installed, the program's path is only a placeholder
# for lib.sh.
QUORRIN_PROGRAM=/usr/bin/australian-astrology
source "$QUORRIN_TESTS/e2e/lib.sh"
PACKAGE=australian-astrology

deb=$(bash "$QUORRIN_TESTS/../packaging/build-deb.sh" "$WORK/package") || fail "no package was built"
[ -f "$deb" ] || fail "no package among: $(ls "$WORK/package")"

lintian --fail-on error,warning "$deb" >"$WORK/lintian.log" 2>&1 ||
  fail "lintian: $(grep -v '^running with root' "$WORK/lintian.log")"

root=$WORK/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share

desktop_entry=$share/applications/$PACKAGE.desktop
[ -f "$desktop_entry" ] || fail "no desktop entry"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop_entry")
[ -x "$root/usr/bin/$command" ] || fail "the desktop entry starts '$command', which is not in usr/bin"
[ -f "$share/man/man1/$command.1.gz" ] || fail "no manual page for $command"

mime_type=$share/mime/packages/$PACKAGE-zod.xml
[ -f "$mime_type" ] || fail "no MIME type for .zod"
app_icon=$(sed -n 's/^Icon=//p' "$desktop_entry")
zod_icon=$(xmllint --xpath "string(//*[local-name()='icon']/@name)" "$mime_type")
for size in 16 24 32 48 64 128 256; do
  for icon in "apps/$app_icon" "mimetypes/$zod_icon"; do
    file "$share/icons/hicolor/${size}x$size/$icon.png" | grep -q "PNG image data, $size x $size," ||
      fail "no ${size}x$size PNG for $icon"
  done
done
for icon in "apps/$app_icon" "mimetypes/$zod_icon"; do
  [ -f "$share/icons/hicolor/scalable/$icon.svg" ] || fail "no scalable $icon"
done

# Finds the metadata where software centres look for it and checks that its
# desktop entry is in the package.
appstreamcli validate-tree --no-net "$root" >"$WORK/appstream.log" 2>&1 ||
  fail "metadata: $(cat "$WORK/appstream.log")"
ls "$share"/metainfo/*.metainfo.xml >/dev/null || fail "no metadata"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins; do
  grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
done

apt() {
  DEBIAN_FRONTEND=noninteractive "${AS_ROOT[@]}" apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" \
    </dev/null >>"$WORK/apt.log" 2>&1
}
# The package goes again when the test ends, however it ends, once the
# programs it started are gone.
remove_package() {
  for pid in "${PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  apt purge "$PACKAGE" || echo "apt did not remove $PACKAGE: $(tail -5 "$WORK/apt.log")" >&2
}
trap 'status=$?; [ "$status" -eq 0 ] || diagnose >&2; remove_package; (exit $status); cleanup' EXIT
# Reinstalled, so that a copy of the same version left by an earlier run is
# replaced; with what it recommends, as apt installs it by default.
apt install --reinstall "$deb" || fail "apt did not install it: $(cat "$WORK/apt.log")"

start_accessibility_bus
# Every copy the test or the desktop starts talks to the accessibility bus,
# where the test reads what the result window shows.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program
main=$(wait_window frmMain)
screenshot "$main" packaged-main-window
kill -9 "$PROGRAM_PID"
wait_exit "$PROGRAM_PID" || fail "the installed program did not end"

default=$(xdg-mime query default application/x-quorrin-zod)
[ "$default" = "$PACKAGE.desktop" ] || fail "the default program for .zod files is '$default'"

# A saved reading of Ada, born in December: the Emu.
saved=$WORK/saved.zod
for hex in "$(masked_line Ada)" "$(masked_line December)"; do
  printf '%b' "$(sed 's/../\\x&/g' <<<"$hex")"
done >"$saved"
expect_saved_reading "$saved" Ada December

# Outside a desktop environment xdg-open takes the file's type from xdg-mime,
# which reads the shared MIME database only with what the package recommends;
# otherwise it asks file(1), which knows no saved reading.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -q '\blibfile-mimeinfo-perl\b' <<<"$recommends" ||
  fail "Recommends lacks libfile-mimeinfo-perl: $recommends"
type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION xdg-mime query filetype "$saved")
[ "$type" = application/x-quorrin-zod ] ||
  fail "outside a desktop environment, xdg-mime takes a saved reading for '$type'"

# The copies of the program that the desktop started with the saved reading.
opened_with_saved() {
  local process
  for process in /proc/[0-9]*; do
    [ "$(tr '\0' '\n' <"$process/cmdline" 2>/dev/null | tail -n +2)" = "$saved" ] &&
      echo "${process#/proc/}"
  done
  return 0
}
started_with_saved() { [ -n "$(opened_with_saved)" ]; }
none_with_saved() { [ -z "$(opened_with_saved)" ]; }

gio_open() {
  trace "gio open $saved"
  gio open "$saved" >>"$WORK/program.log" 2>&1 || fail "gio cannot open $saved"
}

# The result window of the saved reading, as a screen reader hears it.
shows_saved_reading() {
  local result heard
  result=$(wait_window frmAustralianAstrologyResult) || return 1
  heard=$(reader tree "Result window")
  grep -q 'label "EMU"' <<<"$heard" || fail "the result window does not show the Emu: $heard"
  echo "$result"
}

# No copy running: gio starts the program with the file's path as its argument.
gio_open
wait_until 20 started_with_saved || fail "gio started no program with $saved"
PROGRAM_PID=$(opened_with_saved | head -1)
PIDS+=("$PROGRAM_PID")
argv0=$(tr '\0' '\n' <"/proc/$PROGRAM_PID/cmdline" | head -1)
[ "$(basename "$argv0")" = "$command" ] || fail "gio started '$argv0' with $saved"
shows_saved_reading >/dev/null
no_box 'Quorrin Australian Astrology' || fail "opening the saved reading showed a box"
kill -9 "$PROGRAM_PID"
wait_exit "$PROGRAM_PID" || fail "the copy that opened the reading did not end"

# A copy running with its main window up: the new start hands the file over
# and ends without a box; the running copy shows the reading in front.
start_program
running=$PROGRAM_PID
wait_window frmMain >/dev/null
gio_open
result=$(shows_saved_reading)
wait_until 20 none_with_saved || fail "the start with $saved did not end: $(opened_with_saved)"
process_running "$running" || fail "the running copy ended"
no_box 'Quorrin Australian Astrology' || fail "the start with $saved showed a box"
wait_until 10 active_window_is "$result" || fail "the running copy's result window is not in front"
echo "e2e package: passed"
