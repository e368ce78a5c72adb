#!/usr/bin/env bash
# Draws the program's icons with ImageMagick (a magnifying glass over a page).
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/resources/icons"
mkdir -p "$out"
convert -size 64x64 xc:none \
  -fill '#ffffff' -stroke '#1f3f9f' -strokewidth 2 -draw 'rectangle 8,4 44,56' \
  -stroke '#7f9fdf' -strokewidth 2 -draw 'line 14,14 38,14' -draw 'line 14,22 38,22' -draw 'line 14,30 30,30' \
  -fill '#cfe3ff' -stroke '#0000ff' -strokewidth 5 -draw 'circle 36,36 36,50' \
  -stroke '#0000cf' -strokewidth 8 -draw 'line 46,46 58,58' \
  "$out/orvik-searcher.png"
