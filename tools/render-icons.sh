#!/bin/sh
# Renders the application icon's PNG sizes from its SVG (needs rsvg-convert, from Debian's
# librsvg2-bin). The PNGs are kept in the repository, so building needs neither.
set -eu
cd "$(dirname "$0")/../packaging/icons"
for size in 48 128 256; do
    rsvg-convert -w "$size" -h "$size" corvane.svg -o "corvane-$size.png"
done
