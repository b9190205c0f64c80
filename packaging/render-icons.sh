#!/usr/bin/env bash
# Re-renders the committed PNG icons from their SVG sources, so the build itself
# never needs an SVG renderer. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
HICOLOR="$ROOT/packaging/icons/hicolor"

render() { # render <svg> <size> <png>
  mkdir -p "$(dirname "$3")"
  rsvg-convert --width "$2" --height "$2" --output "$3" "$1"
}

for size in 16 24 32 48 64 128 256; do
  for icon in apps/australian-astrology mimetypes/application-x-quorrin-zod; do
    render "$HICOLOR/scalable/$icon.svg" "$size" "$HICOLOR/${size}x$size/$icon.png"
  done
done
# The window icon built into the program, at the size its windows show it.
render "$HICOLOR/scalable/apps/australian-astrology.svg" 32 "$ROOT/src/content/icons/application.png"
