#!/usr/bin/env bash
# Draws the micro-client's artwork with ImageMagick: the login background and its two
# buttons, the play window's nine-grid background and title-bar button strips, and the
# application icon. The results are committed; the build never runs this script.
#
#   tools/skin-art/make-skin-art.sh [output-root]    (default: the repository's resources/)
#
# Fonts: a Palatino-like serif for the name (URW P052 Bold, with fontconfig's nearest
# match as fallback). Output is byte-for-byte reproducible with the same ImageMagick.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=${1:-$ROOT/resources}
SKIN=$OUT/skin
mkdir -p "$SKIN"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

command -v convert >/dev/null || { echo "make-skin-art: ImageMagick's convert is needed" >&2; exit 1; }
NAME_FONT=$(fc-match -f '%{file}' 'P052:bold')

# Deterministic files: no time stamps or other metadata in the PNGs. The last argument
# is the output; the others are convert's inputs and operations.
png_out() { # FORMAT ARGS... OUTPUT
    local format=$1
    shift
    local out=${!#}
    convert "${@:1:$#-1}" -depth 8 -strip -define png:exclude-chunks=date,time "$format:$out"
}
png24() { png_out PNG24 "$@" ; }
png32() { png_out PNG32 "$@" ; }

GOLD='#fff1b8'-'#b07a26'
MAGENTA='#ff00ff'

# ---------------------------------------------------------------------------------------
# The emblem: a gold-rimmed violet hexagon holding a faceted "V" and a diamond, drawn at
# 512 pixels. A bolder variant without the fine lines serves the 16 and 24 pixel icons.
# ---------------------------------------------------------------------------------------
E=512
HEX_OUTER="256,14 466,135 466,377 256,498 46,377 46,135"
convert -size ${E}x$E gradient:"$GOLD" gold.png
convert -size ${E}x$E radial-gradient:'#5a46b8'-'#17133d' \
    \( -size ${E}x$E xc:black -fill white -draw "polygon $HEX_OUTER" -alpha off \) \
    -compose copy_opacity -composite hex_body.png
convert gold.png \( -size ${E}x$E xc:black -fill white -draw "polygon $HEX_OUTER" \
        -fill black -draw "polygon 256,44 440,150 440,362 256,468 72,362 72,150" -alpha off \) \
    -compose copy_opacity -composite rim.png
convert gold.png \( -size ${E}x$E xc:black -fill white -draw "polygon 256,58 428,157 428,355 256,454 84,355 84,157" \
        -fill black -draw "polygon 256,64 423,160 423,352 256,448 89,352 89,160" -alpha off \) \
    -compose copy_opacity -composite -channel A -evaluate multiply 0.55 +channel inner_line.png
convert gold.png \( -size ${E}x$E xc:black -fill white \
        -draw "polygon 134,150 206,150 256,318 306,150 378,150 256,412" \
        -draw "polygon 256,176 286,214 256,252 226,214" -alpha off \) \
    -compose copy_opacity -composite v_flat.png
# Light from the left: the right half of the V a shade darker, and a soft drop shadow.
convert v_flat.png \( -size ${E}x$E xc:none -fill 'rgba(60,30,0,0.28)' -draw "rectangle 256,0 511,511" \
        v_flat.png -compose dst_in -composite \) -compose over -composite v.png
convert v_flat.png -background black -shadow 80x8+0+6 -gravity center -crop ${E}x$E+0+0 +repage v_shadow.png
convert hex_body.png inner_line.png -compose over -composite \
    v_shadow.png -gravity center -compose over -composite \
    v.png -compose over -composite rim.png -compose over -composite emblem.png

HEX_BOLD="256,8 472,132 472,380 256,504 40,380 40,132"
convert -size ${E}x$E radial-gradient:'#6450c8'-'#211a52' \
    \( -size ${E}x$E xc:black -fill white -draw "polygon $HEX_BOLD" -alpha off \) -compose copy_opacity -composite \
    \( gold.png \( -size ${E}x$E xc:black -fill white -draw "polygon $HEX_BOLD" \
        -fill black -draw "polygon 256,62 425,159 425,353 256,450 87,353 87,159" -alpha off \) \
        -compose copy_opacity -composite \) -compose over -composite \
    \( gold.png \( -size ${E}x$E xc:black -fill white -draw "polygon 120,140 218,140 256,290 294,140 392,140 256,430" \
        -alpha off \) -compose copy_opacity -composite \) -compose over -composite emblem_bold.png

for s in 16 24; do png32 emblem_bold.png -filter Lanczos -resize ${s}x$s icon$s.png; done
for s in 32 48 256; do png32 emblem.png -filter Lanczos -resize ${s}x$s icon$s.png; done
convert icon16.png icon24.png icon32.png icon48.png icon256.png "$OUT/varnel.ico"

# ---------------------------------------------------------------------------------------
# loginBg.png, 1112 x 645: a blue-violet panel with the crest breaking out of its top-left
# corner, the name under it, and a framed well for the login page at (301,139)-(1001,569).
# The outside is pure magenta (keyed out by the skin); the silhouette is hard-edged with a
# dark rim, so no pink fringe can appear.
# ---------------------------------------------------------------------------------------
W=1112 H=645
CX=160 CY=132 # crest centre
convert -size ${W}x$H xc:black +antialias -fill white \
    -draw "roundrectangle 26,64 1086,624 20,20" \
    -draw "polygon $CX,$((CY - 122)) $((CX + 106)),$((CY - 61)) $((CX + 106)),$((CY + 61)) $CX,$((CY + 122)) $((CX - 106)),$((CY + 61)) $((CX - 106)),$((CY - 61))" \
    -alpha off -threshold 50% shape.png

# Panel: lighter at the top, a violet glow behind the crest, a cool glow low on the right.
convert -size 700x700 radial-gradient:'rgba(120,88,230,0.55)'-'rgba(120,88,230,0)' crest_glow.png
convert -size ${W}x$H xc:none -fill 'rgba(48,96,200,0.30)' -draw "ellipse 900,560 330,170 0,360" -blur 0x90 low_glow.png
convert -size ${W}x$H gradient:'#2c2d5c'-'#0f1028' \
    crest_glow.png -geometry +$((CX - 350))+$((CY - 250)) -compose screen -composite \
    low_glow.png -geometry +0+0 -compose screen -composite panel.png

# A faint rune circle low in the side column.
convert panel.png \( -size ${W}x$H xc:none -fill none -stroke 'rgba(150,130,255,0.16)' -strokewidth 1.5 \
        -draw "circle 160,470 160,372" -draw "circle 160,470 160,384" \
        -draw "polygon 160,388 231,429 231,511 160,552 89,511 89,429" \
        -draw "line 160,372 160,568" -draw "line 75,421 245,519" -draw "line 75,519 245,421" \
        -stroke 'rgba(230,200,120,0.22)' -draw "circle 160,470 160,462" \) -compose over -composite panel.png

# The name, letter-spaced, with a small divider under it.
convert -background none -font "$NAME_FONT" -pointsize 40 -kerning 8 -fill '#f3dc9a' label:'VARNEL' \
    \( +clone -background black -shadow 70x3+0+2 \) +swap -background none -layers merge +repage name.png
NW=$(identify -format %w name.png)
convert panel.png name.png -geometry +$((CX - NW / 2))+272 -compose over -composite \
    -fill none -stroke 'rgba(230,196,110,0.8)' -strokewidth 1 \
    -draw "line $((CX - 86)),334 $((CX - 12)),334" -draw "line $((CX + 12)),334 $((CX + 86)),334" \
    -fill '#e8c878' -stroke none -draw "polygon $CX,328 $((CX + 6)),334 $CX,340 $((CX - 6)),334" panel.png

# The login page's well: a violet halo, a thin light edge and gold corner brackets (the
# top-right corner belongs to the window buttons).
convert panel.png \( -size ${W}x$H xc:none -fill 'rgba(110,80,230,0.55)' -draw "rectangle 291,129 1011,579" -blur 0x10 \) \
    -compose screen -composite \
    -fill '#0a0b1e' -stroke '#5c60b0' -strokewidth 1 -draw "rectangle 296.5,134.5 1005.5,573.5" \
    -fill none -stroke '#d9b764' -strokewidth 2 \
    -draw "polyline 293,152 293,131 314,131" \
    -draw "polyline 293,556 293,577 314,577" -draw "polyline 988,577 1009,577 1009,556" panel.png

# The crest.
convert emblem.png -filter Lanczos -resize 220x220 crest.png
convert panel.png crest.png -geometry +$((CX - 110))+$((CY - 110)) -compose over -composite panel.png

# Edge: a dark rim fading into the panel, a faint light line just inside it, then magenta
# wherever the shape is not.
convert shape.png \( shape.png -morphology Erode Disk:2 -blur 0x1 \) -compose minus_src -composite edge_rim.png
convert \( shape.png -morphology Erode Disk:3 \) \( shape.png -morphology Erode Disk:4.3 \) \
    -compose minus_src -composite -blur 0x0.6 edge_line.png
convert panel.png \
    \( -size ${W}x$H xc:'#9a90e0' edge_line.png -alpha off -compose copy_opacity -composite \
        -channel A -evaluate multiply 0.45 +channel \) -compose over -composite \
    \( -size ${W}x$H xc:'#07071a' edge_rim.png -alpha off -compose copy_opacity -composite \) -compose over -composite \
    panel.png
png24 -size ${W}x$H xc:$MAGENTA panel.png shape.png -compose over -composite "$SKIN/loginBg.png"

# ---------------------------------------------------------------------------------------
# The login window's round buttons: minimise 21 x 21 and close 26 x 26, drawn on an 8x grid
# and box-filtered down for clean anti-aliasing on a transparent background.
# ---------------------------------------------------------------------------------------
badge() { # NAME SIZE FILL BORDER GLYPH-COLOUR GLYPH(minimize|close) DROP(0|1)
    local name=$1 size=$2 fill=$3 border=$4 colour=$5 glyph=$6 drop=$7
    local glyph_mvg
    if [ "$glyph" = minimize ]; then
        glyph_mvg="fill '$colour' stroke none rectangle -4,-1 4,1"
    else
        glyph_mvg="fill none stroke '$colour' stroke-width 2 line -4.5,-4.5 4.5,4.5 line 4.5,-4.5 -4.5,4.5"
    fi
    local c
    c=$(awk -v s="$size" 'BEGIN { print s / 2 }')
    png32 -size $((size * 8))x$((size * 8)) xc:none \
        -draw "scale 8,8 fill '$fill' stroke '$border' stroke-width 1 circle $c,$c $c,1" \
        -draw "scale 8,8 translate $c,$(awk -v c="$c" -v d="$drop" 'BEGIN { print c + d }') $glyph_mvg" \
        -filter Box -resize ${size}x$size "$SKIN/$name.png"
}
badge minimize_n 21 'rgba(22,22,52,0.88)' '#6e6ac4' '#dcd8ff' minimize 0
badge minimize_h 21 'rgba(70,58,150,0.95)' '#e2c070' '#fff4d2' minimize 0
badge minimize_p 21 'rgba(14,12,36,0.95)' '#b0924c' '#d8c690' minimize 1
badge close_n 26 'rgba(22,22,52,0.88)' '#6e6ac4' '#dcd8ff' close 0
badge close_h 26 'rgba(200,54,58,0.97)' '#ff9a8c' '#ffffff' close 0
badge close_p 26 'rgba(130,30,36,0.97)' '#d07060' '#f0d0cc' close 1

# ---------------------------------------------------------------------------------------
# PlayGameBg.png, 64 x 64, drawn as a nine-grid with corners 10,32,10,10: a 32-pixel title
# bar over a thin frame, a gold hairline under the title, magenta at the rounded corners.
# ---------------------------------------------------------------------------------------
convert -size 64x64 xc:'#0d0e20' \( -size 64x32 gradient:'#30315f'-'#1c1d3d' \) -geometry +0+0 -composite \
    -fill '#1c1d3d' -draw "rectangle 0,32 1,63" -draw "rectangle 62,32 63,63" -draw "rectangle 0,62 63,63" \
    -fill '#a88a48' -draw "rectangle 2,31 61,31" \
    -fill '#5c5da8' -draw "rectangle 1,1 62,1" \
    -fill none -stroke '#3d3e78' -draw "rectangle 0.5,0.5 63.5,63.5" frame.png
convert -size 64x64 xc:white -fill black \
    -draw "point 0,0 point 1,0 point 0,1 point 63,0 point 62,0 point 63,1" \
    -draw "point 0,63 point 1,63 point 0,62 point 63,63 point 62,63 point 63,62" -alpha off frame_shape.png
png24 -size 64x64 xc:$MAGENTA frame.png frame_shape.png -compose over -composite "$SKIN/PlayGameBg.png"

# ---------------------------------------------------------------------------------------
# Title-bar button strips, 81 x 27: normal, hot and pushed cells of 27 x 27. Light glyphs
# on a transparent background; hot lifts a soft plate (red for close), pushed sinks it.
# Glyphs are MVG in 27-pixel units; COLOUR stands for the state's glyph colour.
# ---------------------------------------------------------------------------------------
glyph_mvg() {
    case $1 in
    kefubtn) echo "fill none ellipse 13.5,13.5 6.2,6.2 180,360
            fill COLOUR stroke none roundrectangle 6.2,13 9.6,18.6 1,1 roundrectangle 17.4,13 20.8,18.6 1,1
            fill none stroke COLOUR stroke-width 1.3 path 'M 19.1,18.6 Q 19.1,21 15.6,21'
            fill COLOUR stroke none circle 14.8,21 14.8,22.3" ;;
    refreshbtn) echo "fill none ellipse 13.5,13.5 5.6,5.6 -20,250
            fill COLOUR stroke none polygon 17.2,5.6 20.6,11.6 14.2,10.8" ;;
    minibtn) echo "fill none line 8.5,17.5 18.5,17.5" ;;
    maxbtn) echo "fill none stroke-width 1.5 rectangle 8.5,8.5 18.5,18.5 line 8.5,9.8 18.5,9.8" ;;
    closebtn) echo "fill none line 9,9 18,18 line 18,9 9,18" ;;
    esac
}
strip_cell() { # NAME STATE(normal|hot|pushed) OUTPUT
    local name=$1 state=$2 plate=none colour='#c9c8ec' drop=0
    case $state in
    hot) plate='rgba(255,255,255,0.13)' colour='#ffffff' ;;
    pushed) plate='rgba(0,0,0,0.32)' colour='#b9b6de' drop=1 ;;
    esac
    if [ "$name" = closebtn ]; then
        case $state in
        hot) plate='rgba(210,58,62,0.95)' ;;
        pushed) plate='rgba(150,36,42,0.95)' colour='#f2d6d4' ;;
        esac
    fi
    convert -size 216x216 xc:none \
        -draw "scale 8,8 fill '$plate' stroke none roundrectangle 1.5,1.5 25.5,25.5 3,3" \
        -draw "scale 8,8 translate 0,$drop stroke '$colour' fill '$colour' stroke-width 1.7
               stroke-linecap round stroke-linejoin round $(glyph_mvg "$name" | sed "s/COLOUR/'$colour'/g")" \
        -filter Box -resize 27x27 "$3"
}
for name in kefubtn refreshbtn minibtn maxbtn closebtn; do
    strip_cell $name normal n.png
    strip_cell $name hot h.png
    strip_cell $name pushed p.png
    png32 -background none n.png h.png p.png +append +repage "$SKIN/$name.png"
done

echo "make-skin-art: wrote $SKIN and $OUT/varnel.ico"
