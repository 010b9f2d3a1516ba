#!/usr/bin/env bash
# Demos with the real executable: a game recorded from the command line
# (+record) and ended with Escape is written on the way out; --timedemo plays
# it as fast as it can, prints its timing line on stdout and exits 0; a
# missing demo or a name with a folder exits 1 with the error on stderr.
# Usage: timedemo.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2"

source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"

fail() { echo "FAIL: $*"; for f in out err log.txt; do echo "--- $f"; cat "$f" || true; done; exit 1; }

"$game" --windowed --mode 640x480x32 +record e2e > out 2> err &
pid=$!
wait_for_game
wait_for_log_line "Recording demos/e2e.dem"
sleep 2 # two seconds of play to record (nothing shows a frame being recorded)
xdotool key Escape
wait_for_exit 30
[ "$code" -eq 0 ] || fail "the recording game ended with $code"
recorded=$(grep -E '^Recorded [0-9]+ frames \([0-9]+\.[0-9] s\) to demos/e2e\.dem$' log.txt) \
  || fail "quitting did not write the demo"
frames=$(echo "$recorded" | cut -d' ' -f2)
[ "$frames" -gt 0 ] || fail "no frames recorded"
[ -s demos/e2e.dem ] || fail "demos/e2e.dem is missing"

code=0
timeout 120 "$game" --timedemo e2e --windowed --mode 640x480x32 > out 2> err || code=$?
[ "$code" -eq 0 ] || fail "--timedemo e2e ended with $code"
[ "$(wc -l < out)" -eq 1 ] || fail "--timedemo printed more or less than one line"
grep -qE "^$frames frames in [0-9]+\.[0-9]{2} s: [0-9]+\.[0-9] fps, median [0-9]+\.[0-9] ms, slowest 1% [0-9]+\.[0-9] ms$" out \
  || fail "no timing line of $frames frames on stdout"
grep -qxF "$(cat out)" log.txt || fail "the timing line is not in log.txt"

refused() {
  local name="$1" line="$2" code=0
  timeout 60 "$game" --timedemo "$name" --windowed --mode 640x480x32 > out 2> err || code=$?
  [ "$code" -eq 1 ] || fail "--timedemo $name ended with $code, not 1"
  [ ! -s out ] || fail "--timedemo $name printed on stdout"
  grep -qxF "sheepfall: $line" err || fail "--timedemo $name: stderr does not say: $line"
}
refused missing "!Demo demos/missing.dem: no such demo!"
refused ../e2e "!Demo name ../e2e: no folders (/, \\ and : are not allowed)!"
echo "timedemo passed"
