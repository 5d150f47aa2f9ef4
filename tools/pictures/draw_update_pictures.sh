#!/bin/sh
# Draws the updater wizard's pictures as BMP resources: four pictures per button
# (normal, hover, pressed, disabled; 24-bit), the three OK pictures (24-bit) and the side
# banner (100 by 240, 256 colours). The lettering uses a CJK font from Debian
# (fonts-wqy-zenhei). Run from anywhere; the results are committed.
set -eu

# shellcheck source=tools/pictures/picture_helpers.sh
. "$(dirname "$0")/picture_helpers.sh"
out="$(picture_folder update)"

# button FILE WIDTH HEIGHT BACKGROUND BORDER LETTERING TEXT
button() {
  convert -size "$2x$3" "xc:$4" \
    -fill none -stroke "$5" -draw "rectangle 0,0 $(($2 - 1)),$(($3 - 1))" \
    -stroke none -fill "$6" -font "$font" -pointsize 12 -gravity center -annotate +0+0 "$7" \
    -type TrueColor -compress None "BMP3:$out/$1.bmp"
}

# The four states of a wizard button: dark on light grey, white on dark slate, white on
# orange, blue on light grey.
button_states() {
  button "$1_normal" "$2" 22 '#E4E4E4' '#8C8C8C' '#202020' "$3"
  button "$1_hover" "$2" 22 '#2F4F4F' '#1C3030' '#FFFFFF' "$3"
  button "$1_pressed" "$2" 22 '#F08020' '#B05A10' '#FFFFFF' "$3"
  button "$1_disabled" "$2" 22 '#E4E4E4' '#A8A8A8' '#2050C0' "$3"
}

button_states next 72 "下一步"
button_states cancel 72 "取消"
button_states retest 104 "重新测试网络"

# The OK pictures that the finished and no-update pages put on the cancel button.
button ok_normal 72 22 '#E4E4E4' '#8C8C8C' '#202020' "确定"
button ok_hover 72 22 '#1A3A8A' '#10286A' '#FFFFFF' "确定"
button ok_pressed 72 22 '#F08020' '#B05A10' '#FFFFFF' "确定"

# The side banner: a blue globe with two orange arrows on a pale blue ground.
convert -size 100x240 gradient:'#F4F8FF-#C8DAF4' \
  -fill '#2E6FD0' -stroke '#1B4C9A' -strokewidth 2 -draw "circle 50,110 50,70" \
  -fill none -stroke '#9CC4F4' -strokewidth 1 \
  -draw "ellipse 50,110 18,40 0,360" -draw "ellipse 50,110 40,14 0,360" \
  -draw "line 10,110 90,110" -draw "line 50,70 50,150" \
  -stroke '#F08A18' -strokewidth 5 -fill none -draw "arc 14,64 86,136 200,320" \
  -stroke none -fill '#F08A18' -draw "polygon 80,72 92,92 70,90" \
  -stroke '#F08A18' -strokewidth 5 -fill none -draw "arc 14,84 86,156 20,140" \
  -stroke none -fill '#F08A18' -draw "polygon 20,148 8,128 30,130" \
  -fill '#1B4C9A' -font "$font" -pointsize 14 -gravity south -annotate +0+28 "在线升级" \
  -type Palette -colors 256 -compress None "BMP3:$out/banner.bmp"
