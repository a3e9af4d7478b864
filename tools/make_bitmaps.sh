#!/bin/sh
# Draws the button pictures shipped in data/bmp/ with ImageMagick:
#   task_<mode>_on.bmp / _off.bmp   64x48, an icon above a short label;
#                                   "on" in colour, "off" the same drawing greyed
#   refresh_on / _off / _busy.bmp   32x32 circular arrow: green, grey, amber
# Output is 24-bit uncompressed BMP. Run from anywhere: sh tools/make_bitmaps.sh
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out="$here/../data/bmp"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

font=DejaVu-Sans-Bold

# The "on" picture: light panel with a coloured border, icon, dark label.
task_on() {  # name label border icon-drawing...
    name=$1 label=$2 border=$3
    shift 3
    convert -size 64x48 xc:'#F4F7FB' \
        -fill none -stroke "$border" -strokewidth 2 -draw 'roundrectangle 1,1 62,46 5,5' \
        -stroke none "$@" \
        -font "$font" -pointsize 9 -fill '#102040' -gravity south \
        -annotate +0+3 "$label" \
        "$tmp/$name.png"
}

# The analyser: a small scope screen with a trace.
task_on analyser "Analyser" '#1E6FD9' \
    -fill '#0B2545' -draw 'roundrectangle 14,5 49,30 3,3' \
    -fill none -stroke '#38F27A' -strokewidth 2 \
    -draw 'polyline 17,22 21,22 24,10 28,27 32,12 35,24 38,17 42,17 46,17' \
    -stroke none

# The generator: a monitor showing colour bars.
task_on pattern "Pattern" '#D9821E' \
    -fill '#303030' -draw 'rectangle 13,4 50,30' \
    -fill '#FFFFFF' -draw 'rectangle 15,6 18,28' \
    -fill '#FFFF00' -draw 'rectangle 19,6 22,28' \
    -fill '#00FFFF' -draw 'rectangle 23,6 26,28' \
    -fill '#00FF00' -draw 'rectangle 27,6 30,28' \
    -fill '#FF00FF' -draw 'rectangle 31,6 35,28' \
    -fill '#FF0000' -draw 'rectangle 36,6 39,28' \
    -fill '#0000FF' -draw 'rectangle 40,6 43,28' \
    -fill '#000000' -draw 'rectangle 44,6 48,28' \
    -fill '#303030' -draw 'rectangle 28,31 35,33'

# The cable test: two plugs joined by a cable, and a tick for "passed".
task_on cable_test "Cable Test" '#1E9E4A' \
    -fill none -stroke '#202020' -strokewidth 3 -draw "path 'M 15,22 C 25,10 39,34 49,22'" \
    -stroke none -fill '#505A66' -draw 'rectangle 5,17 15,27' -draw 'rectangle 49,17 59,27' \
    -fill '#C9A227' -draw 'rectangle 2,19 5,25' -draw 'rectangle 59,19 61,25' \
    -fill none -stroke '#1E9E4A' -strokewidth 3 -draw 'polyline 26,8 30,12 38,3' -stroke none

for t in analyser pattern cable_test; do
    convert "$tmp/$t.png" -type TrueColor "BMP3:$out/task_${t}_on.bmp"
    # Greyed: no colour, low contrast, lighter.
    convert "$tmp/$t.png" -colorspace Gray +level 45%,88% -colorspace sRGB \
        -type TrueColor "BMP3:$out/task_${t}_off.bmp"
done

# A circular arrow, open at the top right, its head pointing clockwise.
refresh() {  # name colour
    convert -size 32x32 xc:'#F0F0F0' \
        -fill none -stroke "$2" -strokewidth 4 -draw 'ellipse 16,17 10,10 20,285' \
        -stroke none -fill "$2" -draw 'polygon 16.5,12.5 21.5,0.5 27.5,10' \
        -type TrueColor "BMP3:$out/$1.bmp"
}
refresh refresh_on '#1FA33A'
refresh refresh_off '#9A9A9A'
refresh refresh_busy '#F0A000'
