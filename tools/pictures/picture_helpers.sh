# shellcheck shell=sh
# Shared by the picture scripts (sourced, not run): where the results go and the CJK font
# the lettering uses (fonts-wqy-zenhei from Debian; KORVANE_CJK_FONT picks another).

# shellcheck disable=SC2034  # used by the scripts that source this file
font="${KORVANE_CJK_FONT:-/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc}"

# picture_folder PROGRAM: prints resources/PROGRAM/pictures of this repository, made if missing.
picture_folder() {
  folder="$(cd "$(dirname "$0")/../.." && pwd)/resources/$1/pictures"
  mkdir -p "$folder"
  printf '%s\n' "$folder"
}
