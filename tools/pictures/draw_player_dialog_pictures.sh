#!/bin/sh
# Draws the pictures of Player's dialog windows (the settings and about windows, the exit
# and corner ad windows) in the dark skin of the player: 552 by 352 JPEG background, GIF
# tabs, buttons, frame edges and logo, JPEG close buttons, and the corner ad's icon of nine
# images. The lettering uses a CJK font from Debian (fonts-wqy-zenhei). Run from anywhere;
# the results are committed.
set -eu

# shellcheck source=tools/pictures/picture_helpers.sh
. "$(dirname "$0")/picture_helpers.sh"
out="$(picture_folder player)"

# The skin's colours: charcoal panels, a green accent, white lettering.
panel_top='#2B3038'
panel_bottom='#1B1E23'
column='#15171B'
rule='#3A4049'
accent='#2FB56A'
accent_dark='#1E8A4C'
face_top='#4A505A'
face_bottom='#30343B'
face_border='#5C636E'
hover_top='#5A616C'
hover_bottom='#3A3F47'
white='#FFFFFF'

# --- Settings and about windows -------------------------------------------------------

# The background: a dark panel with the heading at its top left, a darker column for the
# two tabs, a content panel and a footer rule above the three buttons.
convert -size 552x352 "gradient:$panel_top-$panel_bottom" \
  -fill "$column" -draw "rectangle 0,30 121,351" \
  -fill "$rule" -draw "rectangle 122,30 122,351" -draw "rectangle 0,30 551,30" \
  -fill "$accent" -draw "rectangle 12,10 15,23" \
  -fill "$white" -font "$font" -pointsize 14 -gravity northwest -annotate +22+9 "设置面板" \
  -fill '#22262C' -stroke "$rule" -draw "roundrectangle 142,36 538,286 4,4" -stroke none \
  -fill "$rule" -draw "rectangle 142,292 538,292" \
  -quality 92 "$out/settings_background.jpg"

# tab FILE TOP BOTTOM EDGE TEXT: a 102 by 36 tab, white lettering on a vertical gradient.
tab() {
  convert -size 102x36 "gradient:$2-$3" \
    -fill none -stroke "$4" -draw "roundrectangle 0,0 101,35 3,3" \
    -stroke none -fill "$white" -font "$font" -pointsize 14 -gravity center -annotate +0+0 "$5" \
    "GIF:$out/$1.gif"
}
selected_tab() { tab "$1" '#3CC878' "$accent_dark" '#62D893' "$2"; }
plain_tab() { tab "$1" "$face_bottom" '#24272D' "$rule" "$2"; }

# The settings window shows its own tab selected, the about window the other way about.
selected_tab settings_options_tab "设置选项"
plain_tab settings_about_tab "关于我们"
plain_tab about_options_tab "设置选项"
selected_tab about_about_tab "关于我们"

# dialog_button FILE TOP BOTTOM ICON-DRAWING TEXT: an 81 by 27 button, the icon at its left
# and the lettering beside it.
dialog_button() {
  convert -size 81x27 "gradient:$2-$3" \
    -fill none -stroke "$face_border" -draw "roundrectangle 0,0 80,26 3,3" \
    -stroke "$white" -strokewidth 2 -draw "$4" \
    -stroke none -fill "$white" -font "$font" -pointsize 13 -gravity center -annotate +9+0 "$5" \
    "GIF:$out/$1.gif"
}
dialog_button_states() {
  dialog_button "$1_normal" "$face_top" "$face_bottom" "$2" "$3"
  dialog_button "$1_hover" "$hover_top" "$hover_bottom" "$2" "$3"
}

tick='polyline 10,14 14,18 22,9'
cross='line 11,9 20,18 line 20,9 11,18'
pen_on_box='rectangle 9,9 19,19 line 14,15 23,6'
dialog_button_states settings_ok "$tick" "确认"
dialog_button_states settings_cancel "$cross" "取消"
dialog_button_states settings_apply "$pen_on_box" "应用"

# close FILE BACKGROUND: the 26 by 20 close button, a small white x.
close_button() {
  convert -size 26x20 "xc:$2" \
    -stroke "$white" -strokewidth 2 -draw "line 9,6 16,13 line 16,6 9,13" \
    -quality 95 "$out/$1.jpg"
}
close_button settings_close_normal "$panel_top"
close_button settings_close_hover '#D2403A'

# edge FILE WIDTH HEIGHT APPEND OUTER INNER: a frame edge two pixels deep, the outer line
# lit, the inner one dark; APPEND stacks the lines (-append) or sets them side by side
# (+append), and the order of OUTER and INNER says which side faces out.
edge() {
  if [ "$4" = -append ]; then line="$2x1"; else line="1x$3"; fi
  convert -size "$line" "xc:$5" "xc:$6" "$4" "GIF:$out/$1.gif"
}
edge settings_frame_top 552 2 -append "$face_border" "$column"
edge settings_frame_bottom 552 2 -append "$column" "$face_border"
edge settings_frame_left 2 352 +append "$face_border" "$column"
edge settings_frame_right 2 352 +append "$column" "$face_border"

# The logo: a white play sign in a ring on a blue square.
convert -size 80x80 gradient:'#3C8EF2-#1A4CAE' \
  -fill none -stroke "$white" -strokewidth 4 -draw "circle 40,40 40,15" \
  -stroke none -fill "$white" -draw "polygon 34,28 55,40 34,52" \
  "GIF:$out/about_logo.gif"

# --- Ad windows -----------------------------------------------------------------------

# ad_close FILE BACKGROUND RING: the 51 by 21 close button of both ad windows, 关闭 beside
# a red circled cross.
ad_close() {
  convert -size 51x21 "xc:$2" \
    -fill "$3" -draw "circle 10,10 10,2" \
    -stroke "$white" -strokewidth 2 -draw "line 7,7 13,13 line 13,7 7,13" \
    -stroke none -fill "$white" -font "$font" -pointsize 12 -gravity west -annotate +21+0 "关闭" \
    -quality 95 "$out/$1.jpg"
}
ad_close ad_close_normal '#2A2D33' '#D83A34'
ad_close ad_close_hover '#3E434B' '#F0524A'

# The corner ad's icon: 广 on an orange rounded square, at 48, 32 and 16 pixels, each in
# 16 colours, 256 colours (both with the corners masked out) and 32 bits with alpha.
icon="$(mktemp -d)"
trap 'rm -rf "$icon"' EXIT
images=""
for side in 48 32 16; do
  corner=$((side / 6))
  convert -size "${side}x${side}" xc:none \
    -fill '#F07A1E' -draw "roundrectangle 0,0 $((side - 1)),$((side - 1)) $corner,$corner" \
    -fill "$white" -stroke "$white" -strokewidth $(((side + 23) / 24)) -font "$font" \
    -pointsize $((side * 3 / 4)) -gravity center -annotate +0+0 "广" \
    "PNG32:$icon/$side.png"
  for colours in 16 255; do
    convert "$icon/$side.png" -channel A -threshold 50% +channel -colors "$colours" \
      -type PaletteAlpha "MIFF:$icon/$side-$colours.miff"
  done
  images="$images $icon/$side-16.miff $icon/$side-255.miff $icon/$side.png"
done
# shellcheck disable=SC2086 # one file name a word
convert $images "ICO:$out/corner_ad.ico"
