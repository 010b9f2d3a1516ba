#!/usr/bin/env bash
# Plays the real game's controls under its own Xvfb as a person would: W
# bound to forward walks only while the console is closed, a key bound to a
# console line runs it, the Pause key stands the play still and goes on
# again, and the bindings come back from config.cfg at the next start.
# Usage: controls_session.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"

export SHEEPFALL_E2E_SCREEN=1024x768x24
source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"

# The percentage of pixels that differ between two captures.
changed_points() { "$screenshot" --diff "$1.png" "$2.png"; }
capture() { "$screenshot" "$1.png" > /dev/null; }
type_line() {
  xdotool type --delay 15 "$1"
  xdotool key Return
}
hold_w() {
  xdotool keydown w
  sleep 1
  xdotool keyup w
}

# The window's own pixels: a loaded machine must not make the automatic
# render scale change the picture between captures.
"$game" +render_scale 1 > game.out 2> game.err &
pid=$!
wait_for_game
open_console
type_line "bind w forward"
type_line 'bind F5 "show_fps 0"'
wait_for_log_line ">bind F5 \"show_fps 0\""
wait_for_console_settled # the panel has faded in whole
capture console_before
hold_w # types into the open console
capture console_after
[ "$(changed_points console_before console_after)" -lt 10 ] ||
  fail "holding W in the open console walked ($(changed_points console_before console_after)% changed)"

xdotool key BackSpace Insert
wait_for_console_settled # the panel has faded out
capture closed
hold_w
capture walked
[ "$(changed_points closed walked)" -ge 20 ] || fail "W bound to forward does not walk"

xdotool key F5
wait_for_log_line ">show_fps 0"

xdotool key Pause
wait_for_log_line "Paused"
wait_for_still_screen paused_first
xdotool keydown Up
sleep 1
xdotool keyup Up
capture paused_later
[ "$(changed_points paused_first paused_later)" -le 1 ] ||
  fail "the paused game moved ($(changed_points paused_first paused_later)% changed)"
xdotool key Pause
wait_for_log_line "Resumed"

xdotool key Escape
wait_for_exit 20
[ "$code" -eq 0 ] || fail "exit code $code"
grep -qx "bind W forward" config.cfg || fail "config.cfg does not keep W's binding"
grep -qx 'bind F5 "show_fps 0"' config.cfg || fail "config.cfg does not keep F5's line"

# The next start: the bindings are back.
rm log.txt
"$game" > game.out 2> game.err &
pid=$!
wait_for_game
open_console
type_line "bindlist"
wait_for_log_line "W : forward"
wait_for_log_line 'F5 : "show_fps 0"'
wait_for_log_line "UPARROW : forward"
xdotool key Escape
wait_for_exit 20
[ "$code" -eq 0 ] || fail "exit code $code"
echo "controls session passed"
