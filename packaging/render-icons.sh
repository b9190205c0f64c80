#!/usr/bin/env bash
# Re-renders the committed PNG icons from their SVG sources, so the build itself
# never needs an SVG renderer. Needs rsvg-convert (Debian package librsvg2-bin).
# The 16 and 24 pixel icons are drawn for their size (icons/small/); the larger
# ones are the scalable design.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ICONS="$ROOT/packaging/icons"
HICOLOR="$ICONS/hicolor"

render() { # render <svg> <size> <png>
  mkdir -p "$(dirname "$3")"
  rsvg-convert --width "$2" --height "$2" --output "$3" "$1"
}

source_of() { # source_of <folder/name> <size>: the SVG drawn for that size
  local small="$ICONS/small/$(basename "$1")-$2.svg"
  if [ -f "$small" ]; then echo "$small"; else echo "$HICOLOR/scalable/$1.svg"; fi
}

for size in 16 24 32 48 64 128 256; do
  for icon in apps/australian-astrology mimetypes/application-x-quorrin-zod; do
    render "$(source_of "$icon" "$size")" "$size" "$HICOLOR/${size}x$size/$icon.png"
  done
done
# The window icon built into the program, in every size a desktop may show it.
mkdir -p "$ROOT/src/content/icons"
for size in 16 24 32 48 64 128; do
  cp "$HICOLOR/${size}x$size/apps/australian-astrology.png" "$ROOT/src/content/icons/application-$size.png"
done
