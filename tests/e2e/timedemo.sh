#!/usr/bin/env bash
# Demos with the real executable: a game recorded from the command line
# (+record) and ended with Escape is written on the way out; --timedemo plays
# it as fast as it can, prints its timing line, its end state and the hash of
# its frames on stdout and exits 0; played again it ends the same, and
# --frame-hashes writes a line for every frame (or says once why it
# cannot); a missing demo or a name with a folder exits 1 with the error on
# stderr.
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

timedemo() {
  local code=0
  timeout 120 "$game" --timedemo e2e --windowed --mode 640x480x32 "$@" > out 2> err || code=$?
  [ "$code" -eq 0 ] || fail "--timedemo e2e $* ended with $code"
}
timedemo
[ "$(wc -l < out)" -eq 3 ] || fail "--timedemo printed more or less than three lines"
sed -n 1p out | grep -qE "^$frames frames in [0-9]+\.[0-9]{2} s: [0-9]+\.[0-9] fps, median [0-9]+\.[0-9] ms, slowest 1% [0-9]+\.[0-9] ms$" \
  || fail "no timing line of $frames frames on stdout"
sed -n 2p out | grep -qE "^End state: play, level 1, lives [0-5], .* player at [-0-9.e]+ [-0-9.e]+ [-0-9.e]+ yaw [-0-9.e]+ pitch [-0-9.e]+, [0-9]+ shots$" \
  || fail "no end state of a game still on level 1"
sed -n 3p out | grep -qE "^State hash of frames 0 to $frames: [0-9a-f]{16}$" \
  || fail "no hash line of frames 0 to $frames"
while read -r line; do
  grep -qxF "$line" log.txt || fail "the line is not in log.txt: $line"
done < out
mv out first.out

# Again: it ends as it did, and the frame hashes go to the file, one line
# per frame.
timedemo --frame-hashes hashes.txt
cmp -s <(tail -n 2 first.out) <(tail -n 2 out) || fail "the second playback ended otherwise:
$(diff first.out out)"
[ "$(wc -l < hashes.txt)" -eq $((frames + 1)) ] \
  || fail "hashes.txt does not hold frames 0 to $frames"
[ "$(sed -n '$p' hashes.txt | cut -d' ' -f1)" -eq "$frames" ] \
  || fail "the last line of the frame hashes is not frame $frames"
[ "$(cut -d' ' -f2 hashes.txt | sort -u | wc -l)" -gt $((frames / 2)) ] \
  || fail "the frame hashes hardly change from frame to frame"
code=0
timeout 120 "$game" --timedemo e2e --windowed --mode 640x480x32 --frame-hashes none/hashes.txt \
  > out 2> err || code=$?
[ "$code" -eq 1 ] || fail "--frame-hashes into a missing folder ended with $code, not 1"
[ "$(grep -c "^sheepfall: Can't write the frame hashes to .*/none/hashes.txt: " err)" -eq 1 ] \
  || fail "--frame-hashes into a missing folder did not say so once on stderr"
code=0
"$game" --frame-hashes hashes.txt > out 2> err || code=$?
[ "$code" -eq 2 ] && grep -qF "sheepfall: --frame-hashes goes with --timedemo" err \
  || fail "--frame-hashes without --timedemo ended with $code"

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
