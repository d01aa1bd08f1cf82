#!/usr/bin/env bash
# Renders the program's icon, packaging/icons/tamberline.svg, to the PNG sizes
# the desktop uses (committed beside it). Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
icons="$(cd "$(dirname "${BASH_SOURCE[0]}")/../packaging/icons" && pwd)"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$icons/tamberline.svg" -o "$icons/tamberline-$size.png"
done
