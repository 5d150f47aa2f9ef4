# Sourced by the picture scripts: where the resources live and the CJK font that letters
# the pictures (fonts-wqy-zenhei; KORVANE_CJK_FONT names another).
resources="$(cd "$(dirname "$0")/../.." && pwd)/resources"
font="${KORVANE_CJK_FONT:-/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc}"
