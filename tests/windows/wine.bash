# Shared by the Windows end-to-end scripts (sourced): session.bash's virtual
# screen, scratch folder and failure reports, plus a fresh Wine prefix in
# $work/prefix that is shut down at the end, and the steps a player takes
# with the Windows game there.
# Call as: source wine.bash "$0" "$@"

source "$(dirname "${BASH_SOURCE[0]}")/../e2e/session.bash" "$@"
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
drive_c="$WINEPREFIX/drive_c"

cleanup_wine() {
  if [ -n "$pid" ]; then kill "$pid" 2> /dev/null || true; fi
  "$wineserver" -k 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup_wine EXIT

# Makes the prefix and waits until Wine has finished setting it up.
make_wine_prefix() {
  "$wine" wineboot --init > "$work/wineboot.out" 2>&1 || fail "wineboot failed"
  "$wineserver" -w
}

# Waits (at most 60 seconds) until the log file holds the whole line, read
# without Windows' line ends; fails at once when the game has ended.
wait_for_windows_log_line() {
  local file="$1" line="$2" tenths
  for tenths in $(seq 1 600); do
    [ -f "$file" ] && tr -d '\r' < "$file" | grep -qxF -- "$line" && return 0
    game_running "$file to show: $line"
    sleep 0.1
  done
  fail "$file never showed: $line"
}

# Gives the game's window the keyboard (on a screen without a window
# manager Wine's windows do not take it themselves) and presses the key.
press_in_game_window() {
  local id
  id=$(xdotool search --name '^OpenGL Console$' | head -n 1)
  [ -n "$id" ] || fail "no game window to press $1 in"
  xdotool windowfocus --sync "$id"
  xdotool key "$1"
}

# Starts the game (the command and its options), which changes a setting
# and takes a screenshot; waits for the screenshot's line in LOG (which
# names the player's FOLDER, "" for the working folder), then quits with
# Escape and expects exit code 0. Its output goes to $work/OUT.out and .err.
#   play_and_quit LOG FOLDER OUT COMMAND...
play_and_quit() {
  local log="$1" folder="$2" out="$3"; shift 3
  "$@" --windowed +mouse_sensitivity 0.02 +screenshot > "$work/$out.out" 2> "$work/$out.err" &
  pid=$!
  wait_for_windows_log_line "$log" "Wrote ${folder:+$folder/}screenshots/sheepfall-0000.png"
  press_in_game_window Escape
  wait_for_exit 60
  [ "$code" -eq 0 ] || fail "$out: Escape ended the game with exit code $code"
}
