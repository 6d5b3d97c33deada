#!/usr/bin/env bash
# Draws the About box's title picture and its mask (250 x 100, 24-bit BMP) into res/bitmaps.
# The lettering is rendered once, then cut to pure black and white, so the picture and the mask
# are exact complements: the mask's AND and the picture's OR then leave no fringe of odd colours
# around the letters, whatever the dialog's background colour.
#   make-title-bitmaps.sh [OUTPUT_DIR]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=${1:-$here/../res/bitmaps}
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
# Debian's ImageMagick, not a stand-in that may come earlier on PATH.
CONVERT=/usr/bin/convert
[ -f "$FONT" ] || { echo "missing $FONT (Debian package fonts-dejavu-core)" >&2; exit 1; }
[ -x "$CONVERT" ] || { echo "missing $CONVERT (Debian package imagemagick)" >&2; exit 1; }
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# White letters on black: the shape both bitmaps share.
"$CONVERT" -size 250x100 xc:black -font "$FONT" -pointsize 22 -fill white \
    -gravity north -interline-spacing 2 -annotate +0+6 $'Kolvarn\'s\nZerak Resources\nCalculator' \
    -colorspace Gray -threshold 50% "$work/shape.png"

# -strip and BMP3 keep the files free of dates and colour profiles, so a rerun gives the same bytes.
"$CONVERT" "$work/shape.png" -fill '#0000FF' -opaque white -strip -type TrueColor BMP3:"$out/title.bmp"
"$CONVERT" "$work/shape.png" -negate -strip -type TrueColor BMP3:"$out/titlemask.bmp"
