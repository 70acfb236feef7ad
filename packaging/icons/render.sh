#!/usr/bin/env bash
# Renders the PNG sizes of the two icons from their SVG drawings (needs rsvg-convert from
# librsvg2-bin). The PNGs are committed, so building and packaging need no SVG renderer;
# run this after changing a drawing.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for name in kvt560 kvt270; do
  for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$name.svg" -o "$name-$size.png"
  done
done
