#!/usr/bin/env bash
# The files that tell desktops and software centres about the program pass the
# checks those apply: the desktop entry and the AppStream metadata their
# validators, down to pedantic notes; the MIME type names .zod files, and the
# menu entry and metadata claim it; groff finds nothing to warn of in the
# manual page.
# Usage: metadata.sh <packaging folder> <configured metainfo file>
set -euo pipefail
packaging=$1 metainfo=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

notes=$(desktop-file-validate "$packaging/australian-astrology.desktop" 2>&1) ||
  fail "desktop entry: $notes"
[ -z "$notes" ] || fail "desktop entry: $notes"

report=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || fail "metainfo: $report"
# The one note let through: the validator does not know the reserved .example
# domain that the component id is made from.
notes=$(grep -E '^[EWIP]: ' <<<"$report" | grep -v ' cid-maybe-not-rdns ' || true)
[ -z "$notes" ] || fail "metainfo: $notes"

mime=$packaging/australian-astrology-zod.xml
xmllint --noout "$mime" || fail "the MIME type is not well-formed XML"
glob=$(xmllint --xpath "string(//*[local-name()='mime-type'][@type='application/x-quorrin-zod']/*[local-name()='glob']/@pattern)" "$mime")
[ "$glob" = '*.zod' ] || fail "application/x-quorrin-zod maps '$glob', not '*.zod'"

# Desktops open a .zod file with the program only if its entry claims the type
# and passes the file on; software centres list the type from the metadata.
entry=$packaging/australian-astrology.desktop
grep -qx 'MimeType=application/x-quorrin-zod;' "$entry" || fail "the desktop entry does not claim .zod files"
grep -qE '^Exec=[^ ]+ %[fFuU]$' "$entry" || fail "the desktop entry passes no file: $(grep '^Exec=' "$entry")"
mediatype=$(xmllint --xpath 'string(//provides/mediatype)' "$metainfo")
[ "$mediatype" = application/x-quorrin-zod ] || fail "the metadata provides media type '$mediatype'"

warnings=$(groff -man -Tutf8 -ww -z "$packaging/australian-astrology.1" 2>&1)
[ -z "$warnings" ] || fail "manual page: $warnings"
echo "package metadata: passed"
