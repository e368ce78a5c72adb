#!/usr/bin/env bash
# Draws the program's icons with ImageMagick: the window icon (a magnifying glass over
# a page), also as raw 8-bit RGBA pixels (what the window reads: no image decoder), and the file list document's icon ICON2.ico (a page listing files), the latter
# at 16, 32 and 48 pixels, each size stored in the .ico as PNG data; the 48-pixel one
# also on its own, for the icon theme.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/resources/icons"
mkdir -p "$out"
convert -size 64x64 xc:none \
  -fill '#ffffff' -stroke '#1f3f9f' -strokewidth 2 -draw 'rectangle 8,4 44,56' \
  -stroke '#7f9fdf' -strokewidth 2 -draw 'line 14,14 38,14' -draw 'line 14,22 38,22' -draw 'line 14,30 30,30' \
  -fill '#cfe3ff' -stroke '#0000ff' -strokewidth 5 -draw 'circle 36,36 36,50' \
  -stroke '#0000cf' -strokewidth 8 -draw 'line 46,46 58,58' \
  -define png:exclude-chunks=date,time -strip "PNG32:$out/orvik-searcher.png"
convert "$out/orvik-searcher.png" -depth 8 "RGBA:$out/orvik-searcher.rgba"

# The document: a page with a folded corner and four listed files (a blue mark and a
# grey line each), drawn large and scaled down to each size.
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
convert -size 192x192 xc:none \
  -fill '#ffffff' -stroke '#1f3f9f' -strokewidth 8 -draw 'polygon 36,12 124,12 160,48 160,180 36,180' \
  -fill '#cfe3ff' -draw 'polygon 124,12 124,48 160,48' \
  -stroke none -fill '#0000ff' \
  -draw 'rectangle 56,68 72,84' -draw 'rectangle 56,96 72,112' \
  -draw 'rectangle 56,124 72,140' -draw 'rectangle 56,152 72,168' \
  -fill '#7f7f9f' \
  -draw 'rectangle 84,72 140,80' -draw 'rectangle 84,100 132,108' \
  -draw 'rectangle 84,128 140,136' -draw 'rectangle 84,156 120,164' \
  "$tmp/big.png"
for s in 16 32 48; do
  convert "$tmp/big.png" -resize "${s}x${s}" -define png:exclude-chunks=date,time \
    -strip "PNG32:$tmp/$s.png"
done
# The 48-pixel picture is also the type's icon in the icon theme, as installed.
cp "$tmp/48.png" "$out/application-x-f4u.png"
python3 - "$out/ICON2.ico" "$tmp/16.png" "$tmp/32.png" "$tmp/48.png" <<'PY'
import struct, sys
out, pngs = sys.argv[1], sys.argv[2:]
images = [open(p, 'rb').read() for p in pngs]
sizes = [struct.unpack('>II', d[16:24]) for d in images]  # width and height from IHDR
data = struct.pack('<HHH', 0, 1, len(images))
offset = 6 + 16 * len(images)
for (w, h), d in zip(sizes, images):
    data += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(d), offset)
    offset += len(d)
open(out, 'wb').write(data + b''.join(images))
PY
