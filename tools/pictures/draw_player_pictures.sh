#!/bin/sh
# Draws the main window's pictures: GIF skin pictures (bars, frame lines, tabs, buttons with
# their hover and pressed states, the pause/play signs, the status strip, the list's play
# sign, the menu icons), the two list handles as JPEG, and the program icon (ICO: 48, 32,
# 16 and 128 pixels in true colour with transparency, then the same in 256 colours).
# Buttons that sit on a bar are cut from that bar's own picture at their place, so they
# blend into it. Run from anywhere; the results are committed.
set -eu

# shellcheck source=tools/pictures/picture_helpers.sh
. "$(dirname "$0")/picture_helpers.sh"
out="$(picture_folder player)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

grey='#9AA1AB'      # symbols and texts at rest
bright='#FFFFFF'    # the same under the mouse
blue='#3DA5FF'      # highlighted tabs, pressed buttons
glow='#1E7FFF'      # the glow under highlighted and hovered pictures

# save SOURCE NAME: the picture as a GIF of the skin; undithered, as its gradients use
# far fewer than 256 colours.
save() {
  convert "$1" +dither -strip "GIF:$out/$2.gif"
}

# cut BAR LEFT TOP WIDTH HEIGHT TARGET: the part of a bar a button covers. A button that
# starts above its bar (negative top) gets rows of the window's black above.
cut() {
  if [ "$3" -lt 0 ]; then
    convert "$1" -crop "$4x$(($5 + $3))+$2+0" +repage \
      -gravity north -background black -splice "0x$((-$3))" "$6"
  else
    convert "$1" -crop "$4x$5+$2+$3" +repage "$6"
  fi
}

# glow_under WIDTH HEIGHT TARGET: a soft blue light rising from the lower edge.
glow_under() {
  convert -size "$1x$2" xc:none -fill "$glow" \
    -draw "ellipse $(($1 / 2)),$(($2 + 2)) $(($1 / 2 - 6)),$(($2 / 4))  0,360" \
    -blur 0x4 -channel A -evaluate multiply 0.75 +channel "$3"
}

# symbol BASE TARGET COLOUR DRAW...: BASE with a shape drawn in COLOUR.
symbol() {
  base=$1 target=$2 colour=$3
  shift 3
  convert "$base" -fill "$colour" -stroke none "$@" "$target"
}

# ---- Top bar, 980 x 35: a dark graphite gradient, a light edge above, a dark seam below,
# and the program's mark at its left end.
convert -size 980x35 gradient:'#363B43-#1B1D21' \
  -fill '#4D535D' -draw "line 0,0 979,0" \
  -fill '#0B0C0E' -draw "line 0,34 979,34" \
  -fill '#202328' -draw "line 0,33 979,33" \
  \( -size 24x24 gradient:'#52B4FF-#1466D6' \
     \( -size 24x24 xc:black -fill white -draw "roundrectangle 0,0 23,23 6,6" \) \
     -alpha off -compose CopyOpacity -composite \
     -fill white -draw "polygon 9,6 18,12 9,18" \) \
  -geometry +10+5 -compose Over -composite \
  "$work/top.png"
save "$work/top.png" top_bar

# ---- Frame lines: a light outer edge and a dark inner edge.
convert -size 1x600 xc:'#454B55' -size 1x600 xc:'#17191C' +append "$work/left.png"
save "$work/left.png" frame_left
convert "$work/left.png" -flop "$work/right.png"
save "$work/right.png" frame_right
convert -size 980x1 xc:'#17191C' -size 980x1 xc:'#454B55' -append "$work/bottom.png"
save "$work/bottom.png" frame_bottom

# ---- Options drop-down arrow, 15 x 34, at 40, 0 of the top bar.
cut "$work/top.png" 40 0 15 34 "$work/options.png"
arrow="polygon 3,15 11,15 7,20"
symbol "$work/options.png" "$work/o.png" "$grey" -draw "$arrow"; save "$work/o.png" options_normal
convert "$work/options.png" -fill '#FFFFFF1E' -draw "rectangle 0,2 14,31" "$work/oh.png"
symbol "$work/oh.png" "$work/o.png" "$bright" -draw "$arrow"; save "$work/o.png" options_hover
symbol "$work/options.png" "$work/o.png" "$blue" -draw "polygon 3,16 11,16 7,21"; save "$work/o.png" options_pressed

# ---- Tabs, 87 x 31 at 1 below the top bar's edge: a symbol and a word. Plain: grey.
# Highlighted: blue light from below, a blue rule along the lower edge, blue lettering.
# tab NAME LEFT TEXT OUTLINES [SHAPES]: the symbol's stroked outlines and filled shapes.
tab() {
  cut "$work/top.png" "$2" 1 87 31 "$work/tab.png"
  glow_under 87 31 "$work/g.png"
  convert "$work/tab.png" "$work/g.png" -compose Over -composite \
    -fill "$glow" -draw "rectangle 6,29 80,30" "$work/lit.png"
  for look in plain lit; do
    if [ "$look" = plain ]; then base="$work/tab.png" colour="$grey"; else base="$work/lit.png" colour="$blue"; fi
    convert "$base" -fill none -stroke "$colour" -strokewidth 1.6 -draw "$4" \
      -stroke none -fill "$colour" -draw "${5:-}" \
      -font "$font" -pointsize 14 -gravity west -annotate +38+0 "$3" "$work/t.png"
    save "$work/t.png" "tab_$1_$look"
  done
}
tab play 69 "播放" "circle 22,15 22,6" "polygon 19,10 27,15 19,20"
tab library 158 "片库" "roundrectangle 13,8 30,22 2,2 line 13,12 30,12 line 13,18 30,18 line 19,8 19,22 line 25,8 25,22"
tab find 247 "找片" "circle 20,13 20,7 line 25,18 30,23"

# ---- Minimise, 27 x 30 at 886, 1 of the top bar.
cut "$work/top.png" 886 1 27 30 "$work/min.png"
symbol "$work/min.png" "$work/m.png" "$grey" -draw "rectangle 8,19 18,20"; save "$work/m.png" minimise_normal
convert "$work/min.png" -fill '#FFFFFF22' -draw "roundrectangle 1,2 25,27 3,3" \
  -fill "$bright" -draw "rectangle 8,19 18,20" "$work/m.png"; save "$work/m.png" minimise_hover
convert "$work/min.png" -fill '#0000004A' -draw "roundrectangle 1,2 25,27 3,3" \
  -fill "$blue" -draw "rectangle 8,20 18,21" "$work/m.png"; save "$work/m.png" minimise_pressed

# ---- Close, 36 x 30 at 944, 1 of the top bar: a grey cross, red under the mouse.
cut "$work/top.png" 944 1 36 30 "$work/close.png"
cross="line 13,10 22,19 line 22,10 13,19"
convert "$work/close.png" -fill none -stroke "$grey" -strokewidth 1.8 -draw "$cross" "$work/c.png"
save "$work/c.png" close_normal
convert "$work/close.png" \( -size 36x30 gradient:'#F0555A-#C42B2F' \) -compose Over -composite \
  -fill none -stroke "$bright" -strokewidth 1.8 -draw "$cross" "$work/c.png"
save "$work/c.png" close_hover

# ---- Bottom bar, 976 x 34: the top bar's graphite, lit along its upper edge.
convert -size 976x34 gradient:'#30343B-#17191C' \
  -fill '#474D57' -draw "line 0,0 975,0" \
  -fill '#0E0F11' -draw "line 0,1 975,1" \
  "$work/bar.png"
save "$work/bar.png" bottom_bar

# bar_button STATES NAME LEFT TOP WIDTH HEIGHT DRAW...: the pictures of a bottom-bar
# button in each of STATES: normal (grey), hover (white, blue light along the lower edge),
# pressed (blue, one pixel lower).
bar_button() {
  states=$1 name=$2 width=$5 height=$6
  cut "$work/bar.png" "$3" "$4" "$5" "$6" "$work/b.png"
  glow_under "$width" "$height" "$work/g.png"
  shift 6
  for state in $states; do
    case $state in
      normal) convert "$work/b.png" -fill "$grey" -stroke none "$@" "$work/p.png" ;;
      hover) convert "$work/b.png" "$work/g.png" -compose Over -composite \
               -fill "$bright" -stroke none "$@" "$work/p.png" ;;
      pressed) convert "$work/b.png" -fill "$blue" -stroke none -draw "translate 0,1" "$@" "$work/p.png" ;;
    esac
    save "$work/p.png" "${name}_$state"
  done
}

# The pause/play toggle, 60 x 29 at 6, 3: grey signs and bright ones (its pressed picture
# is its normal one).
bar_button "normal hover" pause 6 3 60 29 -draw "roundrectangle 23,7 27,21 1,1" -draw "roundrectangle 33,7 37,21 1,1"
bar_button "normal hover" play 6 3 60 29 -draw "polygon 24,6 38,14 24,22"

# Next and previous episode, 56 x 35 at -3 above the bar: a triangle against a bar.
bar_button "normal hover pressed" next_episode 79 -3 56 35 -draw "polygon 21,11 32,18 21,25" -draw "rectangle 33,11 35,25"
bar_button "normal hover pressed" previous_episode 135 -3 56 35 -draw "polygon 35,11 24,18 35,25" -draw "rectangle 21,11 23,25"
# The list button: a list of three rows, each with its bullet.
bar_button "normal hover pressed" list_button 916 -3 56 35 \
  -draw "rectangle 19,11 21,13" -draw "rectangle 24,11 37,13" \
  -draw "rectangle 19,17 21,19" -draw "rectangle 24,17 37,19" \
  -draw "rectangle 19,23 21,25" -draw "rectangle 24,23 37,25"

# ---- List handles, 9 x 54 JPEG: a slim tab on the list's edge with a small arrow.
handle() {
  convert -size 9x54 gradient:'#3A3F47-#24272C' \
    -fill '#4E545E' -draw "line 0,0 0,53" -fill '#15171A' -draw "line 8,0 8,53" \
    -fill '#C8CDD4' -draw "$2" -quality 95 "JPEG:$out/$1.jpg"
}
handle list_close "polygon 3,22 6,27 3,32"
handle list_open "polygon 6,22 3,27 6,32"

# ---- Status strip background, 158 x 16: a sunken dark panel with a fine rim.
convert -size 158x16 gradient:'#0D0E10-#1C1F23' \
  -fill none -stroke '#3A3F47' -draw "roundrectangle 0,0 157,15 3,3" \
  -stroke '#07080A' -draw "line 3,1 154,1" "$work/s.png"
save "$work/s.png" status_strip

# ---- The programme list's play sign, 15 x 18, on the list's dark grey.
convert -size 15x18 xc:'#181818' -fill "$blue" -draw "polygon 4,4 12,9 4,14" "$work/l.png"
save "$work/l.png" playlist_play

# ---- Menu icons, 15 x 15 on a transparent ground: a green arrow on a bar (opening items)
# and a red circular sign (exit items).
convert -size 15x15 xc:none -fill '#2FB84A' -stroke none \
  -draw "rectangle 1,2 2,12" -draw "rectangle 4,6 8,8" -draw "polygon 8,3 13,7 8,11" \
  "$work/i.png"
save "$work/i.png" menu_open
convert -size 15x15 xc:none -fill '#E5383B' -stroke none -draw "circle 7,7 7,0" \
  -fill none -stroke white -strokewidth 1.5 -draw "arc 3,3 11,11 -50,230" \
  -stroke none -fill white -draw "rectangle 7,2 7,7" "$work/i.png"
save "$work/i.png" menu_exit

# ---- Program icon: a blue rounded square with a white play sign.
convert -size 128x128 gradient:'#5BB8FF-#1058C8' \
  \( -size 128x128 xc:black -fill white -draw "roundrectangle 6,6 121,121 28,28" \) \
  -alpha off -compose CopyOpacity -composite -compose Over \
  -fill '#FFFFFF30' -draw "roundrectangle 10,10 117,60 24,24" \
  -fill white -draw "polygon 48,34 96,64 48,94" "$work/icon128.png"
for size in 48 32 16; do convert "$work/icon128.png" -resize "${size}x$size" "$work/icon$size.png"; done
convert "$work/icon48.png" "$work/icon32.png" "$work/icon16.png" "$work/icon128.png" "ICO:$work/true.ico"
# ImageMagick stores any picture with transparency at 32 bits, so the 256-colour images
# are put together here: the palette picture as BMP data, then the transparency mask.
for size in 48 32 16 128; do
  convert "$work/icon$size.png" -background '#2A70C8' -alpha remove -colors 256 -type Palette -compress None \
    "BMP3:$work/palette$size.bmp"
  convert "$work/icon$size.png" -alpha extract -threshold 50% -depth 8 "GRAY:$work/alpha$size.raw"
done
python3 - "$work" "$out/player.ico" <<'PYTHON'
import struct
import sys

work, target = sys.argv[1], sys.argv[2]
true_colour = open(f"{work}/true.ico", "rb").read()
entries = []
for index in range(struct.unpack_from("<H", true_colour, 4)[0]):
    width, height, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", true_colour, 6 + 16 * index)
    entries.append((width, height, colours, planes, bits, true_colour[offset:offset + size]))
for side in (48, 32, 16, 128):
    bmp = open(f"{work}/palette{side}.bmp", "rb").read()
    pixels_at = struct.unpack_from("<I", bmp, 10)[0]
    header = bytearray(bmp[14:pixels_at])
    alpha = open(f"{work}/alpha{side}.raw", "rb").read()
    row_bytes = (side + 31) // 32 * 4
    mask = bytearray()
    for y in reversed(range(side)):  # bottom row first, as in the pixels; 1 is transparent
        row = bytearray(row_bytes)
        for x in range(side):
            if alpha[y * side + x] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    struct.pack_into("<i", header, 8, 2 * side)  # an icon image's height counts the mask
    struct.pack_into("<I", header, 20, len(bmp) - pixels_at + len(mask))
    entries.append((side % 256, side % 256, 0, 1, 8, bytes(header) + bmp[pixels_at:] + bytes(mask)))
with open(target, "wb") as icon:
    icon.write(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for width, height, colours, planes, bits, data in entries:
        icon.write(struct.pack("<BBBBHHII", width, height, colours, 0, planes, bits, len(data), offset))
        offset += len(data)
    for entry in entries:
        icon.write(entry[5])
PYTHON
