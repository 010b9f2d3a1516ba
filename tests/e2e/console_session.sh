#!/usr/bin/env bash
# Plays the real game under its own Xvfb as a person would: opens the console
# with Insert, types lines, runs a script, changes the window and the video
# mode, checks the screen and log.txt, and quits with Escape (exit code 0).
# Usage: console_session.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"

source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"
printf 'varlist\nsave_to_log 0\n' > setup.cfg
echo "stale line from an earlier run" > log.txt

# Keys reach the game in the order sent: a line needs no wait before the
# next one, only before what is checked of it.
type_line() { xdotool type --delay 15 "$1"; xdotool key Return; }
pixel() { "$screenshot" shot.png "$1" "$2"; }

"$game" > game.out 2> game.err &
pid=$!
wait_for_game

# Checks that the dark blue panel covers the top 21 of 37.5 text rows of a
# window of the given height, and no more: the whole picture fills the window.
# The panel darkens the play screen under it to 0.3 and adds a little blue,
# so just above its bottom edge red and green are well below what they are
# just under it.
panel_fills_top() {
  local x=$1 height=$2 bottom=$(( $2 * 336 / 600 )) r g b r2 g2 b2 tries
  # The panel fades in over a second once the game runs its frames.
  for tries in $(seq 1 100); do
    read -r r g b < <(pixel "$x" $((bottom - 6)))
    read -r r2 g2 b2 < <(pixel "$x" $((bottom + 6)))
    [ "$b" -gt 30 ] && [ $(( (r + g) * 2 )) -lt $(( r2 + g2 )) ] && return 0
    sleep 0.2
  done
  fail "no console panel ending at row $bottom of $height ($r $g $b above, $r2 $g2 $b2 below)"
}

# The game starts fullscreen: the closest mode at least 1024 x 768 is the
# virtual screen's own 1280 x 1024, and the picture covers all of it.
game_window_geometry | grep -q "Geometry: 1280x1024" || fail "fullscreen does not cover the screen"

xdotool key Insert
panel_fills_top 1000 1024

type_line "cmdlist"
wait_for_log_line "togglefullscreen"
type_line "exec setup.cfg"
wait_for_log_line ">save_to_log 0"
type_line "textureinfo"
# A mode change replaces the window: the next lines go to the new one.
old=$(focused_game_window)
xdotool type --delay 15 "togglefullscreen"; xdotool key Return
wait_for_new_window "$old" 1024x768
type_line "save_to_log 1"
old=$(focused_game_window)
xdotool type --delay 15 "videomode 640x480x32"; xdotool key Return
wait_for_new_window "$old" 640x480
panel_fills_top 600 480
xdotool key Escape
wait_for_exit 20
[ "$code" -eq 0 ] || fail "exit code $code"

grep -q "stale line" log.txt && fail "log.txt was not started anew"
head -2 log.txt | diff - <(printf '[System initialized]\ntype ? for help\n') > /dev/null \
  || fail "start-up lines"
grep -qx ">cmdlist" log.txt || fail "typed line not echoed"
grep -qx "togglefullscreen" log.txt || fail "cmdlist did not list togglefullscreen"
grep -qx ">save_to_log 0" log.txt || fail "the echo of save_to_log 0 must still be logged"
grep -qx "TEXTURE MANAGER" log.txt && fail "lines after save_to_log 0 were logged"
grep -qx ">save_to_log 1" log.txt && fail "the echo of save_to_log 1 must not be logged"
grep -qx "setting video mode 640x480x32..." log.txt || fail "videomode message"
grep -qx "Reloading textures..." log.txt || fail "textures not reloaded"
echo "console session passed"
