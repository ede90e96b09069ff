#!/usr/bin/env bash
# Draws the runtime's icon (a browser window holding angle brackets) and writes crv.ico with the
# nine usual sizes. Needs ImageMagick; run it from anywhere, it writes beside itself.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

stroke='fill none stroke-width 14 stroke-linejoin round stroke-linecap round'
convert -size 256x256 xc:none \
  -fill '#1d6f8c' -draw 'roundrectangle 8,8 247,247 48,48' \
  -fill '#2fa3b8' -draw 'roundrectangle 8,8 247,120 48,48' -draw 'rectangle 8,70 247,120' \
  -fill white -draw 'roundrectangle 40,56 216,200 18,18' \
  -fill '#1d6f8c' -draw 'rectangle 40,86 216,92' \
  -fill '#f2a541' -draw 'circle 60,71 66,71' -draw 'circle 80,71 86,71' \
  -draw "$stroke stroke '#1d6f8c' polyline 102,118 74,146 102,174" \
  -draw "$stroke stroke '#1d6f8c' polyline 154,118 182,146 154,174" \
  -draw "$stroke stroke '#f2a541' line 138,116 118,176" \
  "$work/icon.png"
convert "$work/icon.png" -depth 8 -define png:exclude-chunks=date,time \
  -define icon:auto-resize=16,20,24,32,40,48,64,128,256 "$here/crv.ico"
