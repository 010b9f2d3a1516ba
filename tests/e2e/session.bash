# Shared by the end-to-end scripts (sourced, not a test of its own): runs the
# calling script under its own Xvfb (screen SHEEPFALL_E2E_SCREEN, by default
# 1280x1024x24), gives it a scratch folder in $work that is removed at the
# end, and stops the game ($pid) if the script ends early.
# Call as: source session.bash "$0" "$@"

if [ -z "${SHEEPFALL_E2E_DISPLAY:-}" ]; then
  export SHEEPFALL_E2E_DISPLAY=1
  script="$1"
  shift
  exec xvfb-run -a -s "-screen 0 ${SHEEPFALL_E2E_SCREEN:-1280x1024x24} -noreset" bash "$script" "$@"
fi

work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2> /dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Answers a message box as a player would: gives the box of that title the
# keyboard and presses the key (Return is the default button).
answer_box() {
  local title="$1" key="$2" id
  id=$(xwininfo -root -children 2> /dev/null | awk -v t="\"$title\":" 'index($0, t) { print $1; exit }')
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
      echo "FAIL: the game did not end within ${seconds}s"
      exit 1
    fi
    sleep 0.1
    tenths=$((tenths + 1))
  done
  code=0
  wait "$pid" || code=$?
  pid=""
}

# Waits until the game's window has the keyboard (keys sent before that go
# to no window), then lets it run a moment; fails after 30 seconds. Needs
# the script's fail function.
wait_for_focus() {
  local id tenths
  for tenths in $(seq 1 300); do
    id=$(xdotool search --name "OpenGL Console" 2> /dev/null | head -1)
    if [ -n "$id" ] && [ "$(xdotool getwindowfocus 2> /dev/null)" = "$id" ]; then
      sleep 0.5
      return 0
    fi
    sleep 0.1
  done
  fail "the game window never took the keyboard"
}

# Waits until the game's window has the keyboard at the given size
# (WIDTHxHEIGHT). After a video mode change the old window can still be up
# and focused for a while, so focus alone says nothing there. Fails at once
# if the game ends, and after 30 seconds with the size the focused window
# had. Needs the script's fail function.
wait_for_window_size() {
  local size="$1" id="" deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$pid" 2> /dev/null || fail "the game ended while waiting for its ${size} window"
    id=$(xdotool getwindowfocus 2> /dev/null) || id=""
    if [ -n "$id" ] && [ "$(xdotool getwindowname "$id" 2> /dev/null)" = "OpenGL Console" ] &&
      xdotool getwindowgeometry "$id" 2> /dev/null | grep -q "Geometry: ${size}\$"; then
      sleep 0.5
      return 0
    fi
    sleep 0.1
  done
  fail "no ${size} game window took the keyboard within 30s; the focused window was: \
$(xdotool getwindowname "$id" 2> /dev/null) $(xdotool getwindowgeometry "$id" 2> /dev/null | grep Geometry)"
}

# Waits for the game's window and its console's first lines in log.txt.
wait_for_game() {
  local tenths
  timeout 30 xdotool search --sync --name "OpenGL Console" > /dev/null || fail "no game window"
  for tenths in $(seq 1 300); do
    grep -q "type ? for help" log.txt 2> /dev/null && break
    sleep 0.1
  done
  wait_for_focus
}

# Opens the console with Insert, as a player would, and waits (at most 10
# seconds) until its dark blue panel shows in the top right corner, so what
# is typed next reaches it. Needs $screenshot and the script's fail function.
open_console() {
  local width r g b tries
  width=$(xdotool getdisplaygeometry | cut -d' ' -f1)
  xdotool key Insert
  for tries in $(seq 1 100); do
    read -r r g b < <("$screenshot" console.png $((width - 8)) 40)
    [ "$r" -lt 60 ] && [ "$b" -gt $((r + 30)) ] && return 0
    sleep 0.1
  done
  fail "the console did not open"
}

# Waits (at most 20 seconds) until log.txt holds the whole line; fails with a
# message naming it. Needs the script's fail function.
wait_for_log_line() {
  local tenths
  for tenths in $(seq 1 200); do
    grep -qxF -- "$1" log.txt 2> /dev/null && return 0
    sleep 0.1
  done
  fail "log.txt never showed: $1"
}
