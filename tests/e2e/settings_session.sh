#!/usr/bin/env bash
# Settings kept between runs, played with the real game in three starts:
# the first changes variables and the window, completes a word with Tab and
# takes screenshots; the second opens in the window chosen before, shows the
# changed values and recalls the first start's last line with Up (the lines
# of config.cfg and autoexec.cfg are the game's, not the player's, and stay
# out of the history); the third starts despite a broken config.cfg and,
# with nothing changed, removes it.
# Usage: settings_session.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"

source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"
shown_files+=(config.cfg autoexec.cfg history.txt)

type_line() { xdotool type --delay 15 "$1"; xdotool key Return; }
# Each start writes a new log.txt: the previous start's must not answer the
# waits for this one's lines.
start_game() { rm -f log.txt; "$game" > game.out 2> game.err & pid=$!; wait_for_game; }
quit_game() { xdotool key Escape; wait_for_exit 20; [ "$code" -eq 0 ] || fail "exit code $code"; }
# Width and height from a PNG's header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }

# First start, in a fresh folder: the log starts exactly as it always has.
start_game
head -3 log.txt | diff - <(printf '[System initialized]\ntype ? for help\ntexture found\n') > /dev/null \
  || fail "a fresh folder's start-up lines changed"
open_console
type_line "show_fps 0"
type_line "mouse_sensitivity 0.02"
# A mode change replaces the window: its echo is logged before the old
# window goes, so only a new window with the keyboard says it is done.
old=$(focused_game_window)
type_line "videomode 800x600x32"
wait_for_new_window "$old"
old=$(focused_game_window)
type_line "togglefullscreen"
wait_for_new_window "$old" 800x600
xdotool type --delay 15 "varl"; xdotool key Tab Return
wait_for_log_line ">varlist "
type_line "screenshot"
wait_for_log_line "Wrote screenshots/sheepfall-0000.png"
xdotool key F12
wait_for_log_line "Wrote screenshots/sheepfall-0001.png"
quit_game

diff config.cfg <(printf 'show_fps 0\nmouse_sensitivity 0.02\nstartmode 800x600x32 windowed\n') \
  || fail "config.cfg"
diff history.txt <(printf '%s\n' "show_fps 0" "mouse_sensitivity 0.02" "videomode 800x600x32" \
  "togglefullscreen" "varlist " "screenshot") || fail "history.txt"
[ "$(png_size screenshots/sheepfall-0001.png)" = "800x600" ] || fail "F12 did not picture the window"

# Second start: the chosen window, the changed values, autoexec.cfg after
# config.cfg, and the first start's last line under the first Up.
printf 'max_fps 100\n' > autoexec.cfg
start_game
game_window_geometry | grep -q "Geometry: 800x600" || fail "the second start is not in the 800x600 window"
[ "$(sed -n 3p log.txt)" = "Executing script" ] || fail "config.cfg did not run first"
grep -n -x -e ">startmode 800x600x32 windowed" -e ">max_fps 100" log.txt | cut -d: -f2 \
  | diff - <(printf '%s\n' ">startmode 800x600x32 windowed" ">max_fps 100") > /dev/null \
  || fail "autoexec.cfg did not run after config.cfg"
open_console 792 40 # the 800x600 window is at the screen's top-left corner
# Up recalls the first start's last typed line, which runs again; with the
# settings files' lines in the history it would recall "max_fps 100".
xdotool key Up Return
wait_for_log_line ">screenshot"
wait_for_log_line "Wrote screenshots/sheepfall-0002.png"
type_line "mouse_sensitivity"
wait_for_log_line "mouse_sensitivity = 0.020000"
quit_game
diff config.cfg <(printf 'show_fps 0\nmouse_sensitivity 0.02\nmax_fps 100\nstartmode 800x600x32 windowed\n') \
  || fail "config.cfg after the second start"
diff history.txt <(printf '%s\n' "show_fps 0" "mouse_sensitivity 0.02" "videomode 800x600x32" \
  "togglefullscreen" "varlist " "screenshot" "screenshot" "mouse_sensitivity") \
  || fail "history.txt after the second start: only typed lines belong in it"
cp history.txt history.second

# Third start: a broken config.cfg fails line by line (its 100,000-character
# line refused whole, once) and the game starts fullscreen; nothing differs
# from the defaults, so the file goes.
rm autoexec.cfg
{ printf '\x00\x01\xff\x1b[2J\n'; head -c 100000 /dev/zero | tr '\0' 'x'; printf '\n'; } > config.cfg
start_game
game_window_geometry | grep -q "Geometry: 1280x1024" || fail "the third start is not fullscreen"
[ "$(grep -cx '!config.cfg:2: line longer than 255 characters, not run!' log.txt)" = 1 ] \
  || fail "the 100,000-character line was not refused once, whole"
! grep -qx "!Command not found!" log.txt || fail "a piece of the long line ran as a command"
quit_game
[ ! -e config.cfg ] || fail "config.cfg was kept with nothing to keep"
diff history.second history.txt || fail "the broken config.cfg's lines entered history.txt"
echo "settings session passed"
