#!/usr/bin/env bash
# Draws the application icon with ImageMagick: a gate (two posts and an
# arch) on a blue rounded square, with a check mark passing through it. It is
# drawn once at 256x256 and scaled down to the sizes of the hicolor icon
# theme, in icons/hicolor/<size>x<size>/apps/taskgate.png. Run it again after
# changing the drawing; the output is committed.
set -euo pipefail

OUT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/icons/hicolor"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
  -fill '#1f5fa8' -stroke '#143f70' -strokewidth 6 -draw 'roundrectangle 10,10 245,245 40,40' \
  -fill none -stroke '#ffffff' -strokewidth 22 -draw 'arc 62,52 194,184 180,360' \
  -draw 'line 62,118 62,214' -draw 'line 194,118 194,214' \
  -stroke '#4cd06a' -strokewidth 26 -draw 'line 86,150 122,188' -draw 'line 122,188 180,112' \
  -strip "$work/taskgate.png"

for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$OUT/${size}x${size}/apps"
  convert "$work/taskgate.png" -resize "${size}x${size}" -strip "PNG32:$OUT/${size}x${size}/apps/taskgate.png"
done
