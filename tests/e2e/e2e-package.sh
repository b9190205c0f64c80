#!/usr/bin/env bash
# The Debian package made from this build: it installs the program where the
# desktop entry finds it, every icon the desktop entry and the .zod type name,
# the MIME type and the metadata; it depends on the Qt libraries the program
# links; and the program it installs starts.
source "$QUORRIN_TESTS/e2e/lib.sh"

cpack -G DEB --config "$QUORRIN_BUILD/CPackConfig.cmake" -B "$WORK/cpack" >"$WORK/cpack.log" 2>&1 ||
  fail "cpack made no package: $(cat "$WORK/cpack.log")"
deb=$(echo "$WORK"/cpack/australian-astrology_*_*.deb)
[ -f "$deb" ] || fail "no package among: $(ls "$WORK/cpack")"
root=$WORK/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share

desktop_entry=$share/applications/australian-astrology.desktop
[ -f "$desktop_entry" ] || fail "no desktop entry"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop_entry")
[ -x "$root/usr/bin/$command" ] || fail "the desktop entry starts '$command', which is not in usr/bin"

mime_type=$share/mime/packages/australian-astrology-zod.xml
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

QUORRIN_PROGRAM=$root/usr/bin/australian-astrology
start_program
main=$(wait_window frmMain)
screenshot "$main" packaged-main-window
echo "e2e package: passed"
