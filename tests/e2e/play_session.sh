#!/usr/bin/env bash
# Plays the real game under its own Xvfb as a person would: waits for the
# first level, walks, looks around with the mouse, fires, and quits with
# Escape (exit code 0). The play screen is kept as build/screenshots/play.png.
# Usage: play_session.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"
shots_dir="$(dirname "$data")/screenshots"

export SHEEPFALL_E2E_SCREEN=1024x768x24
source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"

pixel() { "$screenshot" shot.png "$1" "$2"; }
# The percentage of pixels that differ between two captures.
changed_points() { "$screenshot" --diff "$1.png" "$2.png"; }
capture() { "$screenshot" "$1.png" > /dev/null; }

# The window's own pixels: a loaded machine must not make the automatic
# render scale draw the scene smaller.
"$game" +render_scale 1 > game.out 2> game.err &
pid=$!
wait_for_game
grep -qx "Loading level 0/3: data/level1.txt" log.txt || fail "the first level did not load"
grep -qx "Reloading textures..." log.txt || fail "the first landscape was not shaded"

# The sky at the top once play is drawn (the loading picture goes first),
# the head in the top-left corner, the land below.
for _ in $(seq 1 100); do
  read -r r g b < <(pixel 512 20)
  [ "$r" -eq 102 ] && [ "$g" -eq 102 ] && [ "$b" -eq 204 ] && break
  game_running "the sky at the top of the screen"
  sleep 0.1
done
[ "$r" -eq 102 ] && [ "$g" -eq 102 ] && [ "$b" -eq 204 ] || fail "no sky at the top ($r $g $b)"
capture start
read -r r g b < <(pixel 80 80)
[ "$b" -lt 180 ] || fail "no head in the top-left corner ($r $g $b)"

xdotool keydown Up; sleep 1; xdotool keyup Up
capture walked
[ "$(changed_points start walked)" -ge 20 ] || fail "walking changed nothing"

xdotool mousemove_relative -- 150 0
wait_for_changed_screen walked turned 20 # else the mouse did not turn the view

xdotool mousedown 1; sleep 1.2
capture firing
xdotool mouseup 1
mkdir -p "$shots_dir" && cp firing.png "$shots_dir/play.png"

xdotool key Escape
wait_for_exit 20
[ "$code" -eq 0 ] || fail "exit code $code"
echo "play session passed"
