#!/usr/bin/env bash
# Settings kept between runs, played with the real game in three starts:
# the first changes variables and the window, completes a word with Tab and
# takes screenshots; the second opens in the window chosen before, shows the
# changed values and recalls the first start's lines with Up; the third
# starts despite a broken config.cfg and, with nothing changed, removes it.
# Usage: settings_session.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"

source "$(dirname "$0")/session.bash" "$0" "$@"
ln -s "$data" "$work/data"
cd "$work"

fail() {
  echo "FAIL: $*"
  for f in log.txt config.cfg history.txt; do echo "--- $f"; cat "$f" || true; done
  exit 1
}
type_line() { xdotool type --delay 15 "$1"; xdotool key Return; }
geometry() { xdotool getwindowgeometry "$(xdotool search --name "OpenGL Console" | head -1)"; }
start_game() { "$game" > game.out 2>&1 & pid=$!; wait_for_game; }
quit_game() { xdotool key Escape; wait_for_exit 20; [ "$code" -eq 0 ] || fail "exit code $code"; }
# Opens the console of the 800x600 window at the screen's top-left corner
# and waits (at most 10 seconds) for its dark blue panel.
open_console_in_window() {
  local r g b tries
  xdotool key Insert
  for tries in $(seq 1 100); do
    read -r r g b < <("$screenshot" console.png 792 40)
    [ "$r" -lt 60 ] && [ "$b" -gt $((r + 30)) ] && return 0
    sleep 0.1
  done
  fail "the console did not open in the window"
}
# Width and height from a PNG's header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }

# First start, in a fresh folder: the log starts exactly as it always has.
start_game
wait_for_log_line "Reloading textures..."
head -3 log.txt | diff - <(printf '[System initialized]\ntype ? for help\ntexture found\n') > /dev/null \
  || fail "a fresh folder's start-up lines changed"
open_console
type_line "show_fps 0"
type_line "mouse_sensitivity 0.02"
type_line "videomode 800x600x32"
wait_for_log_line ">videomode 800x600x32"
wait_for_focus
type_line "togglefullscreen"
wait_for_log_line ">togglefullscreen"
wait_for_focus
geometry | grep -q "Geometry: 800x600" || fail "the window is not 800x600"
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
# config.cfg, and the first start's lines under Up.
printf 'max_fps 100\n' > autoexec.cfg
start_game
geometry | grep -q "Geometry: 800x600" || fail "the second start is not in the 800x600 window"
[ "$(sed -n 3p log.txt)" = "Executing script" ] || fail "config.cfg did not run first"
grep -n -x -e ">startmode 800x600x32 windowed" -e ">max_fps 100" log.txt | cut -d: -f2 \
  | diff - <(printf '%s\n' ">startmode 800x600x32 windowed" ">max_fps 100") > /dev/null \
  || fail "autoexec.cfg did not run after config.cfg"
open_console_in_window
type_line "mouse_sensitivity"
wait_for_log_line "mouse_sensitivity = 0.020000"
# Back over the line typed now, the one of autoexec.cfg and the three of
# config.cfg to the first start's last line, which runs again.
xdotool key --delay 50 Up Up Up Up Up Up
xdotool key Return
wait_for_log_line "Wrote screenshots/sheepfall-0002.png"
quit_game
diff config.cfg <(printf 'show_fps 0\nmouse_sensitivity 0.02\nmax_fps 100\nstartmode 800x600x32 windowed\n') \
  || fail "config.cfg after the second start"
tail -4 history.txt | diff - <(printf '%s\n' "startmode 800x600x32 windowed" "max_fps 100" \
  "mouse_sensitivity" "screenshot") || fail "history.txt: script lines without their line break"

# Third start: a broken config.cfg fails line by line and the game starts
# fullscreen; nothing differs from the defaults, so the file goes.
rm autoexec.cfg
{ printf '\x00\x01\xff\x1b[2J\n'; head -c 100000 /dev/zero | tr '\0' 'x'; printf '\n'; } > config.cfg
start_game
geometry | grep -q "Geometry: 1280x1024" || fail "the third start is not fullscreen"
grep -qx "!Command not found!" log.txt || fail "the broken lines were not run as console lines"
quit_game
[ ! -e config.cfg ] || fail "config.cfg was kept with nothing to keep"
echo "settings session passed"
