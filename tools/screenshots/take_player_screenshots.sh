#!/bin/bash
# Takes the screenshots of Player's main window in docs/screenshots/: the player view with
# the list open, the list closed, the film library and find film, then the film library
# showing a title page and the player view playing its episode. They are what the
# desktop screens and episodes tests see and check: the real program on an X server of
# its own (Xvfb), driven by a user's clicks (xdotool), against a local server that serves
# its remote files on the deployment's port (so no other Player test may run at the same
# time). Run from anywhere after `cmake --preset debug`; the results are committed.
set -euo pipefail

source_folder="$(cd "$(dirname "$0")/../.." && pwd)"
build_folder="${1:-$source_folder/build/debug}"
out="$source_folder/docs/screenshots"

cmake --build "$build_folder" --target player_desktop_screens_test player_episodes_desktop_test
mkdir -p "$out"
KORVANE_SCREENSHOT_FOLDER="$out" "$build_folder/tests/player/startup/player_desktop_screens_test"
KORVANE_SCREENSHOT_FOLDER="$out" "$build_folder/tests/player/playback/player_episodes_desktop_test"
ls -l "$out"/*.png
