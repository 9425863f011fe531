#!/usr/bin/env bash
# Renders the program's icon (packaging/vxeditr.svg, drawn by hand) to the PNG sizes the
# package installs beside it. Run after changing the drawing; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 32 48 64 128 256; do
  mkdir -p "packaging/icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" packaging/vxeditr.svg -o "packaging/icons/${size}x${size}/vxeditr.png"
done
