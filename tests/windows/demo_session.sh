#!/usr/bin/env bash
# Demos travel between Linux and Windows. The aiming bot's level-3 game (the
# timedemo benchmark's demo, recorded by the Linux build) played with
# --timedemo by the Linux game and by the Windows game under Wine must end in
# the same state with the same state hash at every frame. The other way, a
# game the Windows game records under Wine from a player's arrow keys, mouse
# and button (xdotool) must play on the Linux game to the same hashes as on
# the Windows one. A difference names the first frame where the games part.
# Usage: demo_session.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
windows_build="$(cd "$1" && pwd)" linux_build="$(cd "$2" && pwd)"

source "$(dirname "$0")/wine.bash" "$0" "$@"
zip="$(ls "$windows_build"/Sheepfall-*-win64.zip)"
windows_folder="$work/drive/$(basename "$zip" .zip)"
linux_folder="$work/linux"
mode=(--windowed --mode 640x480x32)
shown_files=(wineboot.out record.out game.out game.err "drive/$(basename "$zip" .zip)/log.txt")

make_wine_prefix
mkdir -p "$work/drive" "$linux_folder/demos"
unzip -q "$zip" -d "$work/drive"
mkdir -p "$windows_folder/demos"
ln -s "$linux_build/data" "$linux_folder/data"

# The Windows game records a short game of a player's input: walking with
# the arrows, turning and tilting the view with the mouse, firing; Escape
# quits and writes the demo.
record_on_windows() {
  cd "$windows_folder"
  rm -f log.txt
  "$wine" ./sheepfall.exe "${mode[@]}" +record wine > "$work/game.out" 2> "$work/game.err" &
  pid=$!
  wait_for_windows_log_line log.txt "Recording demos/wine.dem"
  local id
  id=$(xdotool search --name '^OpenGL Console$' | head -n 1)
  [ -n "$id" ] || fail "no game window to play in"
  xdotool windowfocus --sync "$id"
  # About six seconds, long enough for the first sheep to come.
  xdotool keydown Up mousemove_relative -- 60 0 sleep 0.8 keyup Up
  xdotool mousedown 1 mousemove_relative -- 0 25 sleep 0.8 mousemove_relative -- -90 -10
  xdotool keydown Left sleep 0.7 keyup Left mouseup 1 keydown Down sleep 0.6 keyup Down
  xdotool mousemove_relative -- 45 40 keydown Right sleep 0.7 keyup Right
  xdotool mousedown 1 keydown Up mousemove_relative -- 20 -30 sleep 1.5 mouseup 1 keyup Up
  press_in_game_window Escape
  wait_for_exit 60
  [ "$code" -eq 0 ] || fail "the recording Windows game ended with exit code $code"
  tr -d '\r' < log.txt | grep -qE '^Recorded [0-9]+ frames .* to demos/wine\.dem$' \
    || fail "the Windows game did not write demos/wine.dem"
  cp demos/wine.dem "$linux_folder/demos/wine.dem"
}

# Plays demos/NAME.dem with --timedemo on one system (linux or windows);
# its output goes to $work/NAME.SYSTEM.out and .err, its frame hashes to
# $work/NAME.SYSTEM.hashes.
timedemo() {
  local name="$1" system="$2" code=0
  if [ "$system" = linux ]; then
    cd "$linux_folder"
    timeout 900 "$linux_build/sheepfall" --timedemo "$name" "${mode[@]}" \
      --frame-hashes "$work/$name.linux.hashes" > "$work/$name.linux.out" \
      2> "$work/$name.linux.err" || code=$?
  else
    cd "$windows_folder"
    timeout 900 "$wine" ./sheepfall.exe --timedemo "$name" "${mode[@]}" \
      --frame-hashes "$name.hashes" > "$work/$name.windows.out" \
      2> "$work/$name.windows.err" || code=$?
    tr -d '\r' < "$name.hashes" > "$work/$name.windows.hashes" || true
  fi
  tr -d '\r' < "$work/$name.$system.out" > "$work/$name.$system.lines"
  shown_files+=("$name.$system.out" "$name.$system.err")
  [ "$code" -eq 0 ] || fail "--timedemo $name on $system ended with exit code $code"
  [ -s "$work/$name.$system.hashes" ] || fail "--timedemo $name on $system wrote no frame hashes"
  echo "demo_session: $name on $system: $(head -n 1 "$work/$name.$system.lines")"
}

# Both systems' end state and hash lines (all but the timing line) and
# their frame hashes must be the same.
compare() {
  local name="$1" first
  tail -n +2 "$work/$name.linux.lines" > "$work/$name.linux.end"
  tail -n +2 "$work/$name.windows.lines" > "$work/$name.windows.end"
  [ "$(wc -l < "$work/$name.linux.end")" -eq 2 ] || fail "--timedemo $name on Linux did not \
print an end state and a hash line"
  if ! cmp -s "$work/$name.linux.hashes" "$work/$name.windows.hashes"; then
    first=$(diff "$work/$name.linux.hashes" "$work/$name.windows.hashes" | grep -m 1 '^[<>]' |
      cut -d' ' -f2 || true)
    fail "$name: the games part at frame ${first:-?} of $(wc -l < "$work/$name.linux.hashes")
(Linux then Windows):
$(grep -m 1 "^$first " "$work/$name.linux.hashes" || true)
$(grep -m 1 "^$first " "$work/$name.windows.hashes" || echo "(no such frame)")
Linux: $(cat "$work/$name.linux.lines")
Windows: $(cat "$work/$name.windows.lines")"
  fi
  cmp -s "$work/$name.linux.end" "$work/$name.windows.end" || fail "$name: the games ended apart:
$(diff "$work/$name.linux.end" "$work/$name.windows.end")"
  echo "demo_session: $name plays to the same game on both:"
  cat "$work/$name.linux.end"
}

# Linux to Windows: the bot's level-3 game.
"$linux_build/tests/record_bench_demo" "$linux_folder/demos/bench.dem" > "$work/record.out" 2>&1 \
  || fail "the Linux build could not record the bot's level-3 demo"
cp "$linux_folder/demos/bench.dem" "$windows_folder/demos/bench.dem"
timedemo bench linux
timedemo bench windows
compare bench
grep -q "^End state: victory, " "$work/bench.linux.end" \
  || fail "the bot's level-3 game did not end in victory: $(head -n 1 "$work/bench.linux.end")"

# Windows to Linux: a player's game recorded under Wine.
record_on_windows
timedemo wine windows
timedemo wine linux
compare wine
end="$(head -n 1 "$work/wine.linux.end")"
[[ "$end" != *" yaw 0 pitch 0,"* ]] || fail "the mouse never turned the recorded view: $end"
echo "demo_session: passed"
