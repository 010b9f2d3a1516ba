#!/usr/bin/env bash
# --data names the data folder, so the player's files go to the player's
# folder; when that cannot be made (a file stands in its place) the game
# still starts, says why, writes nothing anywhere, and Escape exits 0. A
# --data folder that does not exist, or is no data folder, ends the start
# at once with exit code 2 and the reason on stderr.
# Usage: player_folder_blocked.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2"

source "$(dirname "$0")/session.bash" "$0" "$@"
mkdir "$work/run" "$work/home"
cd "$work/run"

fail() { echo "FAIL: $*"; for f in out err; do echo "--- $f"; cat "$work/$f" || true; done; exit 1; }

# Refused before any window opens.
for wrong in "$work/no/such/data" "$work/home"; do
  result=0
  timeout 20 "$game" --data "$wrong" > "$work/out" 2> "$work/err" || result=$?
  [ "$result" -eq 2 ] || fail "--data $wrong ended with $result, not 2"
  grep -q "^sheepfall: --data $wrong: " "$work/err" || fail "--data $wrong: no reason on stderr"
done
grep -q ": no such folder$" <(timeout 20 "$game" --data "$work/no/such/data" 2>&1 || true) \
  || fail "a missing folder is not called missing"

export HOME="$work/home"
printf 'a file where the folder should be\n' > "$work/xdg"
export XDG_DATA_HOME="$work/xdg"
"$game" --data "$data" > "$work/out" 2> "$work/err" &
pid=$!
timeout 30 xdotool search --sync --name "OpenGL Console" > /dev/null || fail "no game window"
grep -qx "sheepfall: Can't make $work/xdg/sheepfall for your files: $work/xdg is not a folder" \
  "$work/err" || fail "the reason is not given"
wait_for_focus
xdotool key Escape
wait_for_exit 20
[ "$code" -eq 0 ] || fail "exit code $code"
[ "$(cat "$work/xdg")" = "a file where the folder should be" ] || fail "the file was changed"
[ -z "$(find "$work/run" "$work/home" -mindepth 1)" ] || fail "files were written in the working or home folder"
written=$(find "$(dirname "$data")" -maxdepth 2 -newer "$work/xdg" \( -name log.txt -o -name config.cfg \
  -o -name history.txt -o -name screenshots \))
[ -z "$written" ] || fail "files were written beside the data: $written"
echo "player folder blocked passed"
