#!/usr/bin/env bash
# Starts the real game with the font picture missing: start-up must fail with
# the console's own error lines in log.txt, "Initialization Failed." on
# stderr and in a message box where the display can show one (answered here
# with Enter, as a player would), and exit code 1: a failed start is not a
# normal quit.
# Usage: startup_failure.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2"

source "$(dirname "$0")/session.bash" "$0" "$@"
mkdir "$work/data"
cp "$data/dead.png" "$work/data/"
cd "$work"

"$game" > game.out 2> game.err &
pid=$!
# Where the display can show the box, answer it.
for _ in $(seq 1 60); do
  kill -0 "$pid" 2> /dev/null || break
  if grep -q "Initialization Failed." game.err; then
    sleep 0.5
    answer_box "ERROR" Return || true
  fi
  sleep 0.5
done
kill -0 "$pid" 2> /dev/null && fail "the game did not end"
wait_for_exit 20
[ "$code" -eq 1 ] || fail "exit code $code, not 1"
grep -qx "ERROR: Initialization Failed." game.err || fail "no Initialization Failed. on stderr"
grep -qx "!Can't open texture data/font.png!" log.txt || fail "font error not logged"
grep -qx "!Error System init!" log.txt || fail "system init error not logged"
echo "start-up failure passed"
