#!/usr/bin/env bash
# Draws the program's icon with ImageMagick in every size kept in the
# repository: a dark blue tile with a white wave (the oscillator) and an
# orange pointer (the tuned channel). Each size is drawn on its own grid, so
# even 16 x 16 stays sharp. Writes window/icons/teilomat-<size>.png and the
# Windows icon window/icons/teilomat.ico.
set -euo pipefail
cd "$(dirname "$0")/.."
out=window/icons
mkdir -p "$out"

draw() {
  local s=$1
  # Wave: 1.5 periods across the tile, drawn as short round-capped strokes.
  local wave
  wave=$(awk -v s="$s" 'BEGIN {
    pi = 3.14159265358979; m = s * 0.16; w = s - 2 * m; a = s * 0.17
    for (i = 0; i <= 48; i++) {
      x = m + w * i / 48; y = s * 0.56 - a * sin(3 * pi * i / 48)
      if (i > 0) printf "line %.2f,%.2f %.2f,%.2f ", px, py, x, y
      px = x; py = y
    }
  }')
  local r stroke pointer
  r=$(awk -v s="$s" 'BEGIN { printf "%.1f", s * 0.18 }')
  stroke=$(awk -v s="$s" 'BEGIN { w = s / 12; if (w < 1.4) w = 1.4; printf "%.2f", w }')
  pointer=$(awk -v s="$s" 'BEGIN { w = s / 10; if (w < 2) w = 2; printf "%.2f", w }')
  convert -size "${s}x${s}" xc:none \
    -fill '#1d4f7a' -stroke none -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \
    -fill none -stroke '#f28c28' -strokewidth "$pointer" \
    -draw "line $((s / 2)),$(awk -v s="$s" 'BEGIN { printf "%.1f", s * 0.14 }') $((s / 2)),$(awk -v s="$s" 'BEGIN { printf "%.1f", s * 0.86 }')" \
    -fill none -stroke white -strokewidth "$stroke" -draw "stroke-linecap round $wave" \
    -define png:exclude-chunks=date,time -strip "PNG32:$out/teilomat-$s.png"
}

for size in 16 32 48 64 128; do
  draw "$size"
done
convert "$out/teilomat-16.png" "$out/teilomat-32.png" "$out/teilomat-48.png" "$out/teilomat.ico"
