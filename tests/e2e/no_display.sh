#!/usr/bin/env bash
# Starts the real game with DISPLAY naming a display that does not exist. SDL
# would quietly fall back to its invisible offscreen driver; the game must
# refuse that and end with the window error on stderr, its reason, and exit
# code 1, so a launcher or script can tell the failure from a normal quit.
# Usage: no_display.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2"
# The shared session's scratch folder and failure reports; its Xvfb is not
# the display given to the game.
source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"

code=0
env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY DISPLAY=:4093 timeout 30 "$game" > game.out 2> game.err \
  || code=$?
[ "$code" -eq 1 ] || fail "exit code $code, not 1"
grep -qx "ERROR: Failed To Register The Window Class." game.err || fail "no window error"
grep -q "no display could be opened" game.err || fail "the reason is not given"
echo "no display passed"
