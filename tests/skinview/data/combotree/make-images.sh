#!/usr/bin/env bash
# Draws the images of combotree.xml with ImageMagick; run it here after a change and
# commit the PNG files (the build does not need ImageMagick).
set -euo pipefail
cd "$(dirname "$0")"

# The combo box's arrow strip: five 20 x 20 frames (normal, hot, pushed, focused,
# disabled), each a framed square with a down arrow.
frame() { # background arrow
    convert -size 20x20 xc:"$1" -fill none -stroke '#8090A8' -draw 'rectangle 0,0 19,19' \
        -stroke none -fill "$2" -draw 'polygon 6,8 14,8 10,13' PNG32:-
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frame '#E8EEF6' '#3A4A60' >"$work/0.png"
frame '#D0E0F6' '#3A4A60' >"$work/1.png"
frame '#A8C4EC' '#1A2A40' >"$work/2.png"
frame '#DCE6F4' '#3A4A60' >"$work/3.png"
frame '#EEEEEE' '#B0B0B0' >"$work/4.png"
convert "$work"/0.png "$work"/1.png "$work"/2.png "$work"/3.png "$work"/4.png +append -strip \
    PNG32:arrow.png

# The tree's folder buttons (a minus unfolded, a plus folded) and check boxes, 18 x 18.
convert -size 18x18 xc:none -fill white -stroke '#8090A8' -draw 'rectangle 4,4 13,13' \
    -stroke '#3A4A60' -draw 'line 6,9 11,9' -strip PNG32:fold_open.png
convert -size 18x18 xc:none -fill white -stroke '#8090A8' -draw 'rectangle 4,4 13,13' \
    -stroke '#3A4A60' -draw 'line 6,9 11,9' -draw 'line 9,6 9,11' -strip PNG32:fold_closed.png
convert -size 18x18 xc:none -fill white -stroke '#8090A8' -draw 'rectangle 3,3 14,14' \
    -strip PNG32:check_off.png
convert -size 18x18 xc:none -fill white -stroke '#8090A8' -draw 'rectangle 3,3 14,14' \
    -stroke none -fill '#2F6FD0' -draw 'rectangle 6,6 11,11' -strip PNG32:check_on.png
