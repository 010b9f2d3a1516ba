#!/usr/bin/env bash
# Starts the real game with one data file broken at a time. Each error line
# must name the file and the reason, on stderr and in log.txt. A file the
# game cannot start without must also fail start-up with exit code 1 and a
# box that says "Initialization Failed." and then that line. The box is
# ended as a player or the system would: answered with Enter, SIGTERM,
# SIGINT (exit code 1 at once), or kill -9 of the game, after which no
# process of the game may keep showing it.
# Usage: startup_failure.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2"

source "$(dirname "$0")/session.bash" "$0" "$@"
cd "$work"

# The ways to break the data. The scratch data/ is a tree of links to the
# build's files: a file is removed before it is replaced, never written
# through its link.
no_font() { rm data/font.png; }
empty_radar() { rm data/radar.png && : > data/radar.png; }
cut_sheep() { rm data/mouton.ms3d && head -c 10000 "$data/mouton.ms3d" > data/mouton.ms3d; }
no_shot_sound() { rm data/sound/fire.wav; }
looping_level() { rm data/level2.txt && ln -s level2.txt data/level2.txt; }
no_music() { rm data/music1.ogg; }

# case | break | the line that must say what is wrong | how the box ends
# (none: the game starts and plays on)
cases=(
  "no font|no_font|Can't open texture data/font.png: No such file or directory|Return"
  "empty radar|empty_radar|Error loading texture data/radar.png: not a PNG file (0 bytes)|TERM"
  "cut sheep|cut_sheep|Bad model file data/mouton.ms3d: cut off at byte 10000 (in its triangles)|INT"
  "no shot sound|no_shot_sound|Can't load sound data/sound/fire.wav: No such file or directory|KILL"
  "level loop|looping_level|Level 2 can't be played: data/level2.txt: Too many levels of symbolic links|none"
  "no music|no_music|Error loading music file data/music1.ogg: No such file or directory|none"
)

# The id of the shown box titled ERROR (not the game's own window), or
# nothing.
box_window() {
  xwininfo -root -children 2> /dev/null | awk 'index($0, "\"ERROR\": ()") { print $1; exit }'
}

wait_for_box() {
  local tries
  for tries in $(seq 1 300); do
    [ -n "$(box_window)" ] && return 0
    game_running "$case: the Initialization Failed. box"
    sleep 0.1
  done
  fail "$case: no box within 30s"
}

# The game's child processes (the box SDL shows from one) still alive.
live_children() {
  local child
  for child in "$@"; do
    [ "$(awk '{ print $3 }' "/proc/$child/stat" 2> /dev/null || echo Z)" != Z ] && echo "$child"
  done
  return 0
}

# Ends the box as the case says; the game must end with exit code 1 and,
# after kill -9, leave no child behind.
end_box() {
  local how="$1" children left tries
  children=$(pgrep -P "$pid" || true)
  case "$how" in
  Return) answer_box ERROR Return ;;
  KILL) kill -KILL "$pid" ;;
  *) kill "-$how" "$pid" ;;
  esac
  wait_for_exit 10
  [ "$how" = KILL ] || [ "$code" -eq 1 ] || fail "$case: exit code $code after $how, not 1"
  for tries in $(seq 1 50); do
    # shellcheck disable=SC2086 # one pid a word
    left=$(live_children $children)
    [ -z "$left" ] && return 0
    sleep 0.1
  done
  kill -KILL $left
  fail "$case: after $how of the game its child $left kept running"
}

for row in "${cases[@]}"; do
  IFS="|" read -r case breaking line how <<< "$row"
  rm -rf data log.txt game.out game.err
  cp -rs "$data" data
  "$breaking"
  # As from a terminal: SIGINT is not ignored, as it is in a background job.
  env --default-signal=INT "$game" > game.out 2> game.err &
  pid=$!
  if [ "$how" = none ]; then
    wait_for_log_line "!$line!"
    kill "$pid"
    wait_for_exit 20
  else
    wait_for_box
    end_box "$how"
    # The box's text is on stderr too: its first line, a blank one, then why.
    box=$(grep -A2 -x "ERROR: Initialization Failed." game.err || true)
    [ "$box" = "$(printf 'ERROR: Initialization Failed.\n\n%s' "$line")" ] ||
      fail "$case: the box said: $box"
    grep -qxF -- "!$line!" log.txt || fail "$case: log.txt lacks: !$line!"
  fi
  grep -qxF -- "sheepfall: $line" game.err || fail "$case: stderr lacks: sheepfall: $line"
done
echo "start-up failure passed"
