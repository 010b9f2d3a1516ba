#!/usr/bin/env bash
# Memory and start-up of the real game beside a bare OpenGL window on the same
# virtual screen (make memory). For each: the seconds from launch until it is
# on screen (the game: until level 1 is loaded), then, a few seconds later,
# its resident memory and the part of it that is its own: the heap and the
# anonymous mappings, summed from /proc/PID/smaps. Libraries (Mesa, LLVM) are
# shared with the bare window and not counted as the game's own.
# Usage: bench/memory/memory.sh BUILD_DIR [WIDTH HEIGHT]
set -euo pipefail

if [ -z "${SHEEPFALL_MEMORY_DISPLAY:-}" ]; then
  export SHEEPFALL_MEMORY_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi

source "$(dirname "$0")/../../scripts/first-level.sh"
build=$(realpath "$1") width="${2:-1024}" height="${3:-768}"
run=$(mktemp -d)
pid=""
trap '[ -z "$pid" ] || kill "$pid" 2> /dev/null || true; rm -rf "$run"' EXIT
cd "$run"
ln -s "$build/data" data

now() { date +%s.%N; }
# kB as MB; with two values, their difference.
mb() { awk -v a="$1" -v b="${2:-0}" 'BEGIN { printf "%.1f", (a - b) / 1024 }'; }
# Resident, heap and anonymous kB of a process, from its smaps.
memory_of() {
  awk '
    /^[0-9a-f]+-[0-9a-f]+ / { kind = "lib"; if (NF < 6 || $6 ~ /^\[(heap|anon)/) kind = "own" }
    /^Rss:/ { total += $2; if (kind == "own") own += $2 }
    END { printf "%d %d\n", total, own }' "/proc/$1/smaps"
}
fail() {
  echo "memory: $*"
  for file in game.out game.err log.txt; do [ -f "$file" ] && { echo "--- $file"; tail -20 "$file"; }; done
  exit 1
}

# Both are timed the same way: from launch until the line that says they are
# ready, looked for every 5 ms.
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'; }

start=$(now)
"$build/bench/sheepfall_bare_window" "$width" "$height" > bare.out 2> bare.err &
pid=$!
for _ in $(seq 1 3000); do grep -q viewable bare.out && break; sleep 0.005; done
bare_time=$(seconds_since "$start")
grep -q viewable bare.out || fail "the bare window did not show: $(cat bare.err)"
sleep 3
read -r bare_total bare_own < <(memory_of "$pid")
kill "$pid"; wait "$pid" 2> /dev/null || true; pid=""

start=$(now)
SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$build/sheepfall" --windowed \
  --mode "${width}x${height}x32" > game.out 2> game.err &
pid=$!
wait_for_first_level "$pid" 15 0.005
game_time=$(seconds_since "$start")
sleep 3
read -r game_total game_own < <(memory_of "$pid")
kill "$pid"; wait "$pid" 2> /dev/null || true; pid=""

printf "%-34s %10s %14s %12s\n" "${width} x ${height}" "start (s)" "resident (MB)" "own (MB)"
printf "%-34s %10s %14s %12s\n" "bare window" "$bare_time" "$(mb $bare_total)" \
  "$(mb $bare_own)"
printf "%-34s %10s %14s %12s\n" "game, level 1 loaded" "$game_time" \
  "$(mb $game_total)" "$(mb $game_own)"
printf "%-34s %10s %14s %12s\n" "game beyond the bare window" \
  "$(awk -v a="$game_time" -v b="$bare_time" 'BEGIN { printf "%.3f", a - b }')" \
  "$(mb $game_total $bare_total)" "$(mb $game_own $bare_own)"
