#!/bin/sh
# Draws the EDID tab's pictures (imglst_edid and the write button) into
# data/bmp/ with ImageMagick:
#   edid_sink.bmp         40x20  a small display with "SINK": the attached sink
#   edid_d1 ... d10.bmp   40x20  a grey-blue memory chip with "D1" ... "D10":
#                                the unit's read-only default EDIDs
#   edid_c1 ... c10.bmp   40x20  a green memory chip with "C1" ... "C10":
#                                the unit's user slots
#   edid_write.bmp        80x20  an arrow into a chip: write to the chosen target
# Output is 24-bit uncompressed BMP. Run from anywhere: sh tools/make_edid_bitmaps.sh
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out="$here/../data/bmp"
mkdir -p "$out"
font=DejaVu-Sans-Bold

bmp() {  # name, then the drawing arguments
    name=$1
    shift
    convert "$@" -type TrueColor "BMP3:$out/$name.bmp"
}

# A chip: body with pins above and below, the slot's name in the body.
chip() {  # name label body-colour
    bmp "$1" -size 40x20 xc:'#FFFFFF' \
        -fill '#8A8A8A' \
        -draw 'rectangle 6,0 7,2' -draw 'rectangle 12,0 13,2' -draw 'rectangle 18,0 19,2' \
        -draw 'rectangle 24,0 25,2' -draw 'rectangle 30,0 31,2' \
        -draw 'rectangle 6,17 7,19' -draw 'rectangle 12,17 13,19' -draw 'rectangle 18,17 19,19' \
        -draw 'rectangle 24,17 25,19' -draw 'rectangle 30,17 31,19' \
        -fill "$3" -draw 'roundrectangle 2,3 37,16 2,2' \
        -font "$font" -pointsize 10 -fill '#FFFFFF' -gravity center -annotate +0+0 "$2"
}

# The sink: a display on a stand, "SINK" on its screen.
bmp edid_sink -size 40x20 xc:'#FFFFFF' \
    -fill '#202830' -draw 'roundrectangle 3,0 36,15 2,2' \
    -fill '#1E6FD9' -draw 'rectangle 5,2 34,13' \
    -fill '#202830' -draw 'rectangle 17,16 22,17' -draw 'rectangle 12,18 27,19' \
    -font "$font" -pointsize 8 -fill '#FFFFFF' -gravity north -annotate +0+2 'SINK'

n=1
while [ $n -le 10 ]; do
    chip "edid_d$n" "D$n" '#3F5C80'
    chip "edid_c$n" "C$n" '#1E8C46'
    n=$((n + 1))
done

# Write: an arrow from the left into a green chip.
bmp edid_write -size 80x20 xc:'#FFFFFF' \
    -fill '#D9821E' -draw 'rectangle 4,8 34,11' -draw 'polygon 34,3 44,9.5 34,16' \
    -fill '#8A8A8A' \
    -draw 'rectangle 52,0 53,2' -draw 'rectangle 58,0 59,2' -draw 'rectangle 64,0 65,2' \
    -draw 'rectangle 70,0 71,2' -draw 'rectangle 52,17 53,19' -draw 'rectangle 58,17 59,19' \
    -draw 'rectangle 64,17 65,19' -draw 'rectangle 70,17 71,19' \
    -fill '#1E8C46' -draw 'roundrectangle 48,3 76,16 2,2'
