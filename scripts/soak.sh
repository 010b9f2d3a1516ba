#!/usr/bin/env bash
# A long game of the real executable under its own Xvfb, played with xdotool:
# the fire button held and the mouse sweeping the view left and right, up
# and down, for MINUTES minutes. Every minute the game's resident memory and
# open files go to OUT/soak.csv. Fails when the game ends or leaves play, or
# when, over the second half, resident memory grows by more than 2 MB or
# the open files grow at all.
#
# To stay in play that long the game reads its own level files from a copy
# of the data folder: sheep so slow that none lands before the end (so no
# life is lost) and so many that no level is won. Every other file is the
# build's own.
# Usage: scripts/soak.sh GAME DATA_DIR MINUTES OUT_DIR
set -euo pipefail

if [ -z "${SHEEPFALL_SOAK_DISPLAY:-}" ]; then
  export SHEEPFALL_SOAK_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$@"
fi

source "$(dirname "$0")/first-level.sh"
game=$(realpath "$1") data=$(realpath "$2") minutes="$3" out="$4"
[[ "$minutes" =~ ^[0-9]+$ ]] && [ "$minutes" -ge 2 ] || { echo "soak: MINUTES must be 2 or more"; exit 2; }
GROWTH_LIMIT_KB=2048

mkdir -p "$out"
out=$(realpath "$out")
run="$out/run"
rm -rf "$run"
mkdir -p "$run/data"
csv="$out/soak.csv"
cd "$run"

pid="" sweeper=""
finish() {
  [ -z "$sweeper" ] || kill "$sweeper" 2> /dev/null || true
  xdotool mouseup 1 2> /dev/null || true
  [ -z "$pid" ] || kill "$pid" 2> /dev/null || true
}
trap finish EXIT
fail() {
  echo "SOAK FAILED: $*"
  echo "--- last lines of $run/log.txt"; tail -20 log.txt 2> /dev/null || true
  echo "--- $run/game.err"; cat game.err 2> /dev/null || true
  exit 1
}

# The data folder: the build's files, with level files whose sheep take
# longer than the soak to fall (200 units at least, in MINUTES + 5 minutes).
for file in "$data"/*; do ln -s "$file" "data/$(basename "$file")"; done
speed=$(awk -v m="$minutes" 'BEGIN { printf "%.4f", 200 / ((m + 5) * 60) }')
for level in "$data"/level*.txt; do
  name=$(basename "$level")
  rm "data/$name"
  sed -e "s/^NB_SHEEP .*/NB_SHEEP 100000/" -e "s/^SHEEP_SPEED .*/SHEEP_SPEED $speed/" \
    "$level" > "data/$name"
done

# 60 frames a second are plenty to play and leave the other core be. Where
# the machine has no sound device the mixer still runs, on SDL's silent
# driver.
SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$game" +max_fps 60 > game.out 2> game.err &
pid=$!
wait_for_first_level "$pid" 30 0.1
sleep 2

# Fire held; the view sweeps 200 counts right and back, looking up and down.
xdotool mousedown 1
(
  while true; do
    for dx in 20 -20; do
      for step in $(seq 1 10); do
        if [ "$step" -le 5 ]; then dy=-6; else dy=6; fi
        xdotool mousemove_relative -- "$dx" "$dy" 2> /dev/null || true
        sleep 0.1
      done
    done
  done
) &
sweeper=$!

# Resident memory (kB) and open files of the game now.
sample() {
  local rss files
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  files=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
  echo "$1,$rss,$files" | tee -a "$csv"
}
still_in_play() {
  kill -0 "$pid" 2> /dev/null || fail "the game ended at minute $1"
  if grep -qx -e "Ya loose" -e "Ya win" -e "Victory!" -e "!Error loading level!" log.txt; then
    fail "the game left play at minute $1: $(grep -x -e "Ya loose" -e "Ya win" -e "Victory!" \
      -e "!Error loading level!" log.txt | head -1)"
  fi
}

echo "minute,resident_kb,open_files" > "$csv"
echo "soak: $minutes minutes of play, sheep speed $speed; $csv"
sample 0
for minute in $(seq 1 "$minutes"); do
  sleep 60
  still_in_play "$minute"
  sample "$minute"
done
xdotool mouseup 1
xdotool key Escape
for _ in $(seq 1 200); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
kill -0 "$pid" 2> /dev/null && fail "the game did not end on Escape"
code=0
wait "$pid" || code=$?
pid=""
[ "$code" -eq 0 ] || fail "the game ended with exit code $code"

half=$((minutes / 2))
read -r first_rss mid_rss last_rss max_rss mid_files last_files < <(awk -F, -v half="$half" '
  NR == 2 { first = $2 }
  NR > 1 && $1 == half { mid = $2; mid_files = $3 }
  NR > 1 && $1 >= half && $2 > max { max = $2 }
  NR > 1 { last = $2; last_files = $3 }
  END { print first, mid, last, max, mid_files, last_files }' "$csv")
growth=$((last_rss - mid_rss))
echo "soak: resident memory ${first_rss} kB at the start, ${mid_rss} kB at minute $half," \
  "${last_rss} kB at minute $minutes (highest in the second half ${max_rss} kB):" \
  "grew ${growth} kB over the second half; open files ${mid_files} then ${last_files}"
[ "$growth" -le "$GROWTH_LIMIT_KB" ] || fail "resident memory grew ${growth} kB over the second half (limit ${GROWTH_LIMIT_KB} kB)"
[ "$last_files" -le "$mid_files" ] || fail "open files grew from $mid_files to $last_files over the second half"
echo "soak passed"
