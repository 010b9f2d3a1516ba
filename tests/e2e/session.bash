# Shared by the end-to-end scripts (sourced, not a test of its own): runs the
# calling script under its own Xvfb (screen SHEEPFALL_E2E_SCREEN, by default
# 1280x1024x24), gives it a scratch folder in $work that is removed at the
# end, and stops the game ($pid) if the script ends early.
#
# Every failure says what failed: `fail MESSAGE` for the script's own
# checks, and any other command that fails ends the script with the file,
# line and command of that step. Both then show the game's stdout
# (game.out), stderr (game.err) and log.txt from $work, and any file a
# script adds to shown_files.
# Call as: source session.bash "$0" "$@"

if [ -z "${SHEEPFALL_E2E_DISPLAY:-}" ]; then
  export SHEEPFALL_E2E_DISPLAY=1
  script="$1"
  shift
  exec xvfb-run -a -s "-screen 0 ${SHEEPFALL_E2E_SCREEN:-1280x1024x24} -noreset" bash "$script" "$@"
fi

set -Eeuo pipefail
work=$(mktemp -d)
pid=""
shown_files=(game.out game.err log.txt)

# Makes the scratch folder the game's working folder, with the build's data
# folder ($1) linked in as data/.
enter_work_folder() {
  ln -s "$1" "$work/data"
  cd "$work"
}

cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2> /dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

show_files() {
  local f
  for f in "${shown_files[@]}"; do
    if [ -e "$work/$f" ]; then
      echo "--- $f"
      cat "$work/$f"
    else
      echo "--- $f (none)"
    fi
  done
}

fail() {
  echo "FAIL: $*"
  show_files
  exit 1
}

# A command that fails outside a condition: names the step and its callers.
# In a subshell (a command substitution, a pipeline) the script itself
# reports when the failure reaches it, so the step is told once.
on_error() {
  local status=$? line=$1 command=$2 i
  [ "$BASHPID" = "$$" ] || exit "$status"
  echo "FAIL: a step failed (exit status $status) at $(basename "${BASH_SOURCE[1]}") line $line: $command"
  for ((i = 1; i < ${#FUNCNAME[@]} - 1; i++)); do
    echo "  in ${FUNCNAME[$i]}, called at $(basename "${BASH_SOURCE[$((i + 1))]}") line ${BASH_LINENO[$i]}"
  done
  show_files
  exit 1
}
trap 'on_error "$LINENO" "$BASH_COMMAND"' ERR

# Fails when the game has ended while the script waits for it.
game_running() {
  [ -z "$pid" ] || kill -0 "$pid" 2> /dev/null || fail "the game ended while waiting for: $1"
}

# Answers a message box as a player would: gives the box of that title the
# keyboard and presses the key (Return is the default button).
answer_box() {
  local title="$1" key="$2" id
  # The game's own window may have the same title: the box is the one
  # without the game's window class.
  id=$(xwininfo -root -children 2> /dev/null | awk -v t="\"$title\": ()" 'index($0, t) { print $1; exit }')
  [ -n "$id" ] || return 1
  xdotool windowfocus "$id" 2> /dev/null || true
  xdotool key "$key"
}

# Waits at most the given seconds for the game ($pid) to end and puts its
# exit code in $code; a game that does not end is killed and the script fails
# with a message instead of hanging.
wait_for_exit() {
  local seconds="$1" tenths=0
  while kill -0 "$pid" 2> /dev/null; do
    if [ "$tenths" -ge $((seconds * 10)) ]; then
      kill "$pid" 2> /dev/null || true
      fail "the game did not end within ${seconds}s"
    fi
    sleep 0.1
    tenths=$((tenths + 1))
  done
  code=0
  wait "$pid" || code=$?
  pid=""
}

# The id of the game's window that has the keyboard, or nothing when no
# window of the game has it (while a video mode change replaces the window
# there may be none, or the old one).
focused_game_window() {
  local id
  id=$(xdotool getwindowfocus 2> /dev/null) || return 0
  if [ "$(xdotool getwindowname "$id" 2> /dev/null || true)" = "OpenGL Console" ]; then
    echo "$id"
  fi
}

# The geometry lines of the game's window that has the keyboard.
game_window_geometry() {
  local id
  id=$(focused_game_window)
  [ -n "$id" ] || fail "no game window has the keyboard"
  xdotool getwindowgeometry "$id"
}

# Waits until a game window that is not OLD_ID ("" for any) has the keyboard,
# at the given size (WIDTHxHEIGHT) when one is given, then lets the game run
# a moment; keys sent before that go to no window or to the one being
# replaced. (The game shows nothing when the new window is ready for keys:
# that moment is the one fixed wait left here.) Fails at once if the game
# ends, and after 30 seconds.
#   old=$(focused_game_window); type_line "videomode 800x600x32"
#   wait_for_new_window "$old" 800x600
wait_for_new_window() {
  local old="$1" size="${2:-}" id="" deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    game_running "a game window${size:+ of $size} to take the keyboard"
    id=$(focused_game_window)
    if [ -n "$id" ] && [ "$id" != "$old" ] && { [ -z "$size" ] ||
      xdotool getwindowgeometry "$id" 2> /dev/null | grep -q "Geometry: ${size}\$"; }; then
      sleep 0.5
      return 0
    fi
    sleep 0.1
  done
  fail "no new ${size:-game} window took the keyboard within 30s (old window ${old:-none}); \
the focused window was: ${id:-none} $(xdotool getwindowname "$id" 2> /dev/null || true) \
$(xdotool getwindowgeometry "$id" 2> /dev/null | grep Geometry || true)"
}

# Waits until the game's window has the keyboard; fails after 30 seconds.
wait_for_focus() {
  wait_for_new_window ""
}

# Waits (at most 20 seconds) until log.txt holds the whole line; fails with a
# message naming it, at once when the game has ended.
wait_for_log_line() {
  local tenths
  for tenths in $(seq 1 200); do
    grep -qxF -- "$1" log.txt 2> /dev/null && return 0
    game_running "log.txt to show: $1"
    sleep 0.1
  done
  fail "log.txt never showed: $1"
}

# Waits until the game has started, its first level loaded and shaded (the
# last line start-up logs), and its window has the keyboard. A log.txt left
# by an earlier start in the folder would pass at once: remove it first.
wait_for_game() {
  wait_for_log_line "type ? for help"
  wait_for_log_line "Reloading textures..."
  wait_for_focus
}

# Waits (at most 20 seconds) until the screen stands still, as a paused game
# does: three captures 0.3 s apart in which under 1 % of the pixels changed.
# The last capture is kept as NAME.png. Needs $screenshot.
wait_for_still_screen() {
  local name="$1" still=0 tries
  "$screenshot" "$name.png" > /dev/null
  for tries in $(seq 1 66); do
    sleep 0.3
    game_running "the screen to stand still"
    mv "$name.png" still_before.png
    "$screenshot" "$name.png" > /dev/null
    if [ "$("$screenshot" --diff still_before.png "$name.png")" -eq 0 ]; then
      still=$((still + 1))
      [ "$still" -lt 2 ] || return 0
    else
      still=0
    fi
  done
  fail "the screen did not stand still within 20s"
}

# Waits (at most 10 seconds) until the console panel has stopped fading in or
# out: the pixel at the given point (by default near the top right corner,
# as open_console looks) reads the same four times 0.2 s apart. Play goes on
# behind the panel, so the whole screen need not stand still. Needs
# $screenshot.
wait_for_console_settled() {
  local x="${1:-$(($(xdotool getdisplaygeometry | cut -d' ' -f1) - 8))}" y="${2:-40}"
  local pixel="" previous="" same=0 tries
  for tries in $(seq 1 50); do
    pixel=$("$screenshot" console.png "$x" "$y")
    if [ "$pixel" = "$previous" ]; then
      same=$((same + 1))
      [ "$same" -lt 3 ] || return 0
    else
      same=0
    fi
    previous="$pixel"
    game_running "the console panel to stop fading"
    sleep 0.2
  done
  fail "the console panel at $x,$y kept changing for 10s (last $pixel)"
}

# Captures the screen as NAME.png until at least PERCENT of its pixels differ
# from BEFORE.png; fails with what changed after 10 seconds. Needs $screenshot.
wait_for_changed_screen() {
  local before="$1" name="$2" percent="$3" changed=0 tries
  for tries in $(seq 1 50); do
    "$screenshot" "$name.png" > /dev/null
    changed=$("$screenshot" --diff "$before.png" "$name.png")
    [ "$changed" -lt "$percent" ] || return 0
    game_running "the screen to change from $before.png"
    sleep 0.2
  done
  fail "the screen did not change from $before.png by $percent % within 10s (only $changed %)"
}

# Opens the console with Insert, as a player would, and waits (at most 10
# seconds) until its dark blue panel shows at the given point (by default
# near the top right corner of the screen), so what is typed next reaches
# it. Needs $screenshot.
open_console() {
  local x="${1:-$(($(xdotool getdisplaygeometry | cut -d' ' -f1) - 8))}" y="${2:-40}"
  local r g b tries
  xdotool key Insert
  for tries in $(seq 1 100); do
    read -r r g b < <("$screenshot" console.png "$x" "$y")
    [ "$r" -lt 60 ] && [ "$b" -gt $((r + 30)) ] && return 0
    sleep 0.1
  done
  fail "the console did not open (at $x,$y: $r $g $b)"
}
