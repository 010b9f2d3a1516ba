#!/usr/bin/env bash
# On a 1024 x 768 screen the game opens fullscreen in the screen's own mode;
# "videomode 1280x720x32" asks for a mode the screen cannot show. The player
# answers the question with Enter (Yes) and plays on in a bordered 1280 x 720
# window; where no box can be shown the answer is Yes by itself. Then
# "togglefullscreen" asks again and the player answers No (Escape): the game
# goes back to the window it had instead of ending, and says nothing of
# closing.
# Usage: fullscreen_refused.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"

export SHEEPFALL_E2E_SCREEN=1024x768x24
source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"

"$game" > game.out 2> game.err &
pid=$!
wait_for_game
game_window_geometry | grep -q "Geometry: 1024x768" || fail "fullscreen window is not 1024x768"

open_console
old=$(focused_game_window)
xdotool type --delay 15 "videomode 1280x720x32"
xdotool key Return
for _ in $(seq 1 120); do
  grep -q "Use Windowed Mode Instead?" game.err && break
  sleep 0.25
done
grep -q "Use Windowed Mode Instead?" game.err || fail "no question asked"
# Either the game answers by itself or its box comes up to be answered.
answered=""
for _ in $(seq 1 120); do
  if grep -q "answered Yes" game.err; then answered=game; break; fi
  if answer_box "OpenGL Console" Return; then answered=player; break; fi
  sleep 0.25
done
[ -n "$answered" ] || fail "no question box on the screen and no answer by the game"
wait_for_new_window "$old" 1280x720

if [ "$answered" = player ]; then
  # The console stays open through the mode change: Insert now would close
  # it (and its fading panel would still pass for open). Once any fade is
  # over, it is opened only when it is not showing.
  wait_for_console_settled 1016 40
  read -r r g b < <("$screenshot" console.png 1016 40)
  [ "$r" -lt 60 ] && [ "$b" -gt $((r + 30)) ] || open_console
  old=$(focused_game_window)
  xdotool type --delay 15 "togglefullscreen"
  xdotool key Return
  # A box that is not ready for the keyboard misses the key: the answer is
  # given again until the game shows it has it. No goes back to the window
  # the game had, without a word about closing.
  went_back="Can't set video mode 1280x720x32: going back to 1280x720x32"
  for _ in $(seq 1 120); do
    grep -qxF "$went_back" log.txt && break
    answer_box "OpenGL Console" Escape || true
    sleep 0.25
  done
  wait_for_log_line "$went_back"
  ! grep -q "Program Will Now Close." game.err || fail "No said the program would close"
  wait_for_new_window "$old" 1280x720
  kill -0 "$pid" 2> /dev/null || fail "the game ended after No"
else
  echo "no box on this screen: the No answer is not tried"
fi

xdotool search --name "OpenGL Console" windowfocus 2> /dev/null || true
xdotool key Escape
wait_for_exit 20
[ "$code" -eq 0 ] || fail "exit code $code"
grep -qx "setting video mode 1280x720x32..." log.txt || fail "videomode message missing"
echo "refused fullscreen passed"
