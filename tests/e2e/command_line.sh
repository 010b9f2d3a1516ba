#!/usr/bin/env bash
# The real executable's command line: --help, --version, options it does
# not know, and a start with --windowed, --mode and +command lines that run
# after config.cfg, leaving the start mode config.cfg chose for next time.
# Usage: command_line.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2"

source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"

shown_files+=(out err)
# Runs the game with the arguments, expecting it to end at once with the code.
run_expecting() {
  local expected="$1"; shift
  local result=0
  timeout 20 "$game" "$@" > out 2> err || result=$?
  [ "$result" -eq "$expected" ] || fail "sheepfall $* ended with $result, not $expected"
  [ ! -e log.txt ] || fail "sheepfall $* started the game"
}

run_expecting 0 --help
grep -q "^Usage: sheepfall" out || fail "--help printed no usage"
[ ! -s err ] || fail "--help wrote to stderr"
run_expecting 0 --version
[ "$(cat out)" = "Sheepfall 1.0" ] || fail "--version"
for wrong in "--bogus" "--mode 999x1x1" "--mode" "+"; do
  # shellcheck disable=SC2086
  run_expecting 2 $wrong
  [ ! -s out ] || fail "$wrong wrote to stdout"
  grep -q "^Usage: sheepfall" err || fail "$wrong printed no usage on stderr"
done
grep -q "^sheepfall: unknown option: --bogus" <(timeout 20 "$game" --bogus 2>&1 || true) \
  || fail "the unknown option is not named"

printf 'startmode 800x600x32 fullscreen\n' > config.cfg
printf 'varlist\n' > demo.cfg
"$game" --windowed --mode 640x480x32 +show_fps 0 +exec demo.cfg > out 2> err &
pid=$!
wait_for_game
wait_for_log_line "  =[Registred variables]="
game_window_geometry | grep -q "Geometry: 640x480" || fail "not a 640x480 window"
grep -n -x -e ">startmode 800x600x32 fullscreen" -e ">show_fps 0" -e ">exec demo.cfg" \
  -e ">varlist" log.txt | cut -d: -f2 \
  | diff - <(printf '%s\n' ">startmode 800x600x32 fullscreen" ">show_fps 0" ">exec demo.cfg" ">varlist") \
  > /dev/null || fail "the lines did not run in order after config.cfg"
xdotool key Escape
wait_for_exit 20
[ "$code" -eq 0 ] || fail "exit code $code"
diff config.cfg <(printf 'show_fps 0\nstartmode 800x600x32 fullscreen\n') \
  || fail "config.cfg: the command line's mode is for one run only"
echo "command line passed"
