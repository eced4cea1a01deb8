#!/usr/bin/env bash
# Draws the pictures of the demo suite into assets/Grafica/ with ImageMagick:
# the program icons of the navigation bar (32x32 .ico) and the glyphs of the
# picture buttons (32x32 .bmp, the buttons load bitmaps only). Shapes are
# drawn without anti-aliasing and kept to 16 colours, so every file stays
# below a kilobyte or two. Run it again after changing a drawing; the output
# is committed.
set -euo pipefail

OUT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/Grafica"
mkdir -p "$OUT"

# draw <file> <background> <drawing primitives...>
draw() {
  local file="$1" background="$2"
  shift 2
  local args=(-size 32x32 "xc:$background" +antialias -strokewidth 1)
  for primitive in "$@"; do
    args+=(-draw "$primitive")
  done
  case "$file" in
    *.ico) convert "${args[@]}" -colors 16 -type PaletteAlpha "$OUT/$file" ;;
    # An uncompressed 4-bit Windows bitmap; the bottom-left pixel keeps the
    # background colour, which glyph painters take as transparent.
    *.bmp) convert "${args[@]}" -colors 16 -type Palette -compress None "BMP3:$OUT/$file" ;;
  esac
}

# Program icons, transparent background.
draw contabilita.ico none \
  "fill #ffffff stroke #1f3f6f rectangle 6,3 25,28" \
  "stroke #2a6fb0 line 9,9 22,9" "stroke #2a6fb0 line 9,14 22,14" \
  "stroke #2a6fb0 line 9,19 22,19" "stroke #c03030 line 9,24 17,24"
draw magazzino.ico none \
  "fill #c08a4a stroke #5a3a1a rectangle 4,10 27,28" \
  "fill #dcae74 stroke #5a3a1a polygon 4,10 9,4 22,4 27,10" \
  "stroke #5a3a1a line 15,10 15,28" "fill #f0e0b0 stroke #5a3a1a rectangle 11,15 19,19"
draw vendite.ico none \
  "fill #2f9a3f stroke #1a5a24 rectangle 4,20 9,28" \
  "fill #2f9a3f stroke #1a5a24 rectangle 13,14 18,28" \
  "fill #2f9a3f stroke #1a5a24 rectangle 22,8 27,28" \
  "stroke #c03030 line 4,15 22,3" "fill #c03030 stroke #c03030 polygon 23,2 17,3 21,7"
draw acquisti.ico none \
  "stroke #303030 line 2,6 7,6" "stroke #303030 line 7,6 10,21" \
  "fill #e07a20 stroke #303030 polygon 8,9 28,9 25,19 10,19" \
  "stroke #303030 line 10,21 25,21" \
  "fill #303030 circle 12,25 12,27" "fill #303030 circle 23,25 23,27"
draw personale.ico none \
  "fill #f0c090 stroke #6a4a2a circle 16,9 16,15" \
  "fill #2a6fb0 stroke #1f3f6f roundrectangle 6,17 26,30 6,6"
draw sistema.ico none \
  "fill #8a8a8a stroke #404040 circle 16,16 16,4" \
  "fill #404040 rectangle 14,1 17,6" "fill #404040 rectangle 14,26 17,31" \
  "fill #404040 rectangle 1,14 6,17" "fill #404040 rectangle 26,14 31,17" \
  "fill #ffffff stroke #404040 circle 16,16 16,11"

# Picture-button glyphs, on the window colour.
draw clienti.bmp '#f0f0f0' \
  "fill #f0c090 stroke #6a4a2a circle 11,9 11,14" \
  "fill #2a6fb0 stroke #1f3f6f roundrectangle 2,16 20,29 5,5" \
  "fill #f0c090 stroke #6a4a2a circle 22,11 22,15" \
  "fill #2f9a3f stroke #1a5a24 roundrectangle 14,18 30,29 5,5"
draw articoli.bmp '#f0f0f0' \
  "fill #c08a4a stroke #5a3a1a rectangle 3,12 20,28" \
  "fill #dcae74 stroke #5a3a1a rectangle 12,4 29,20"
draw ordini.bmp '#f0f0f0' \
  "fill #ffffff stroke #404040 rectangle 6,2 25,29" \
  "stroke #2a6fb0 line 9,8 22,8" "stroke #2a6fb0 line 9,13 22,13" \
  "stroke #2a6fb0 line 9,18 18,18" "fill #2f9a3f stroke #1a5a24 circle 22,24 22,29"
draw fatture.bmp '#f0f0f0' \
  "fill #ffffff stroke #404040 rectangle 6,2 25,29" \
  "stroke #404040 line 9,8 22,8" "stroke #404040 line 9,13 22,13" \
  "fill #e0b020 stroke #8a6a10 circle 20,23 20,28"
draw statistiche.bmp '#f0f0f0' \
  "fill #2a6fb0 stroke #1f3f6f circle 16,16 16,3" \
  "fill #c03030 stroke #601818 path 'M 16,16 L 16,3 A 13,13 0 0,1 29,16 Z'"
draw cambioutente.bmp '#f0f0f0' \
  "fill #f0c090 stroke #6a4a2a circle 12,9 12,14" \
  "fill #2a6fb0 stroke #1f3f6f roundrectangle 3,16 21,29 5,5" \
  "stroke #2f9a3f line 22,6 30,6" "fill #2f9a3f stroke #2f9a3f polygon 30,6 26,2 26,10" \
  "stroke #c03030 line 22,14 30,14" "fill #c03030 stroke #c03030 polygon 22,14 26,10 26,18"
draw esci.bmp '#f0f0f0' \
  "fill #8a5a2a stroke #3a2a10 rectangle 5,2 20,29" \
  "fill #e0b020 circle 17,16 17,17" \
  "stroke #c03030 line 22,16 30,16" "fill #c03030 stroke #c03030 polygon 30,16 26,12 26,20"
