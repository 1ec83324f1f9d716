#!/usr/bin/env bash
# Draws the gallery skin's images with ImageMagick into skin/. The PNG files are
# committed; the build does not need ImageMagick. Run it here after a change.
set -euo pipefail
cd "$(dirname "$0")/skin"
command -v convert >/dev/null || { echo "make-skin-images: ImageMagick's convert is needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# No time stamps or other metadata: the same script gives the same files.
png() { # convert's arguments...; the last one is the output file
    local out=${!#}
    convert "${@:1:$#-1}" -depth 8 -strip -define png:exclude-chunks=date,time "PNG32:$out"
}
# Drawn eight times larger and box-filtered down, for clean anti-aliased edges.
fine() { # WIDTH HEIGHT MVG OUTPUT
    png -size $(($1 * 8))x$(($2 * 8)) xc:none -draw "scale 8,8 $3" -filter Box -resize "$1x$2" "$4"
}

# Caption buttons: white glyphs of 16 x 16 for minimise, maximise, restore and close.
fine 16 16 "stroke white stroke-width 1.4 fill none line 3.5,11.5 12.5,11.5" "$work/min.png"
fine 16 16 "stroke white stroke-width 1.4 fill none rectangle 3.5,3.5 12.5,12.5" "$work/max.png"
fine 16 16 "stroke white stroke-width 1.4 fill none rectangle 3.5,6 10,12.5
    polyline 6,6 6,3.5 12.5,3.5 12.5,10 10,10" "$work/restore.png"
fine 16 16 "stroke white stroke-width 1.6 fill none line 4,4 12,12 line 12,4 4,12" "$work/close.png"
png -background none "$work/min.png" "$work/max.png" "$work/restore.png" "$work/close.png" \
    +append +repage caption.png

# The push button: four cells of 24 x 30 (normal, hot, pushed, disabled), a rounded plate
# drawn with nine-grid corners of 5 pixels.
plate() { # TOP BOTTOM BORDER OUTPUT
    png -size 24x30 gradient:"$1-$2" \
        \( -size 192x240 xc:black -fill white -draw "roundrectangle 0,0 191,239 36,36" \
            -filter Box -resize 24x30 \) -alpha off -compose copy_opacity -composite \
        \( -size 192x240 xc:none -fill none -stroke "$3" -strokewidth 8 \
            -draw "roundrectangle 4,4 187,235 34,34" -filter Box -resize 24x30 \) \
        -compose over -composite "$4"
}
plate '#4D8AE6' '#2F6FD0' '#2459A8' "$work/b0.png"
plate '#6A9FEE' '#4A86E0' '#2F6FD0' "$work/b1.png"
plate '#245BB0' '#2F6FD0' '#1C4789' "$work/b2.png"
plate '#E4E8EE' '#D8DDE5' '#C2C9D4' "$work/b3.png"
png -background none "$work/b0.png" "$work/b1.png" "$work/b2.png" "$work/b3.png" \
    +append +repage button.png

# Radio marks and check boxes, 16 x 16: off, then on.
fine 16 16 "fill white stroke '#8090A8' stroke-width 1 circle 8,8 8,1.5" "$work/r0.png"
fine 16 16 "fill white stroke '#2F6FD0' stroke-width 1 circle 8,8 8,1.5
    fill '#2F6FD0' stroke none circle 8,8 8,4.5" "$work/r1.png"
png -background none "$work/r0.png" "$work/r1.png" +append +repage radio.png
fine 16 16 "fill white stroke '#8090A8' stroke-width 1 roundrectangle 1.5,1.5 14.5,14.5 2,2" \
    "$work/c0.png"
fine 16 16 "fill '#2F6FD0' stroke '#2459A8' stroke-width 1 roundrectangle 1.5,1.5 14.5,14.5 2,2
    fill none stroke white stroke-width 1.8 polyline 4.5,8.2 7,10.8 11.8,5.2" "$work/c1.png"
png -background none "$work/c0.png" "$work/c1.png" +append +repage check.png

# The tree's folder buttons, 16 x 16: unfolded (minus) and folded (plus).
fine 16 16 "fill white stroke '#8090A8' stroke-width 1 rectangle 3.5,3.5 12.5,12.5
    stroke '#3A4A60' line 5.5,8 10.5,8" fold_open.png
fine 16 16 "fill white stroke '#8090A8' stroke-width 1 rectangle 3.5,3.5 12.5,12.5
    stroke '#3A4A60' line 5.5,8 10.5,8 line 8,5.5 8,10.5" fold_closed.png

# The combo box's arrow strip: five frames of 22 x 24 (normal, hot, pushed, focused,
# disabled), a down arrow on a plate that brightens with the state.
arrow() { # PLATE ARROW OUTPUT
    fine 22 24 "fill '$1' stroke none rectangle 0,0 22,24
        fill '$2' polygon 7,10 15,10 11,15" "$3"
}
arrow '#FFFFFF' '#4A5B70' "$work/a0.png"
arrow '#E8F0FC' '#2F6FD0' "$work/a1.png"
arrow '#D0E0F6' '#2459A8' "$work/a2.png"
arrow '#FFFFFF' '#2F6FD0' "$work/a3.png"
arrow '#F0F0F0' '#B0B8C4' "$work/a4.png"
png -background none "$work"/a[0-4].png +append +repage arrow.png

# The slider, 20 high: its track (16 wide) and filled bar (16 wide) are 4-pixel bands in
# the middle, then its thumb (14 wide). The progress bar's fill is 16 x 10.
fine 16 20 "fill '#D5DCE6' stroke none roundrectangle 0,8 16,12 2,2" "$work/track.png"
fine 16 20 "fill '#2F6FD0' stroke none roundrectangle 0,8 16,12 2,2" "$work/bar.png"
fine 14 20 "fill white stroke '#2F6FD0' stroke-width 1.5 roundrectangle 1,1 13,19 3,3
    stroke '#9DB8E4' stroke-width 1 line 5,7 5,13 line 9,7 9,13" "$work/thumb.png"
png -background none "$work/track.png" "$work/bar.png" "$work/thumb.png" +append +repage slider.png
png -size 16x10 gradient:'#5AA0F0-#2F6FD0' progress.png

# Scroll bars: 16 x 16 cells from the top: up, down, left and right buttons (normal, then
# hot), the vertical thumb (normal, hot), the rails of a vertical and a horizontal thumb,
# the track, and the horizontal thumb (normal, hot).
button() { # ROTATION PLATE OUTPUT
    fine 16 16 "fill '$2' stroke none rectangle 0,0 16,16
        translate 8,8 rotate $1 fill '#4A5B70' polygon -4,2 4,2 0,-3" "$3"
}
button 0 '#DCE2EA' "$work/s00.png"
button 0 '#C6D0DE' "$work/s01.png"
button 180 '#DCE2EA' "$work/s02.png"
button 180 '#C6D0DE' "$work/s03.png"
button 270 '#DCE2EA' "$work/s04.png"
button 270 '#C6D0DE' "$work/s05.png"
button 90 '#DCE2EA' "$work/s06.png"
button 90 '#C6D0DE' "$work/s07.png"
fine 16 16 "fill '#EEF1F5' stroke none rectangle 0,0 16,16
    fill '#A7B4C6' roundrectangle 3,0 13,16 3,3" "$work/s08.png"
fine 16 16 "fill '#EEF1F5' stroke none rectangle 0,0 16,16
    fill '#8797AE' roundrectangle 3,0 13,16 3,3" "$work/s09.png"
fine 16 16 "stroke '#EEF1F5' stroke-width 1 line 6,6.5 10,6.5 line 6,9.5 10,9.5" "$work/s10.png"
fine 16 16 "stroke '#EEF1F5' stroke-width 1 line 6.5,6 6.5,10 line 9.5,6 9.5,10" "$work/s11.png"
png -size 16x16 xc:'#EEF1F5' "$work/s12.png"
fine 16 16 "fill '#EEF1F5' stroke none rectangle 0,0 16,16
    fill '#A7B4C6' roundrectangle 0,3 16,13 3,3" "$work/s13.png"
fine 16 16 "fill '#EEF1F5' stroke none rectangle 0,0 16,16
    fill '#8797AE' roundrectangle 0,3 16,13 3,3" "$work/s14.png"
png -background none "$work"/s*.png -append +repage scrollbar.png

# A small star for inline images in formatted text.
fine 16 16 "fill '#F2B33D' stroke '#C98A12' stroke-width 0.8
    polygon 8,1.5 9.9,5.9 14.6,6.2 11,9.3 12.1,13.9 8,11.4 3.9,13.9 5,9.3 1.4,6.2 6.1,5.9" star.png

# The layered window's shadow: 48 x 48, a soft dark frame around a clear middle, cut into
# corners of 16 x 16 by the skin.
png -size 48x48 xc:none -fill 'rgba(16,24,40,0.55)' -draw "roundrectangle 12,13 35,36 6,6" \
    -channel A -blur 0x5 +channel shadow.png

echo "make-skin-images: wrote $(pwd)"
