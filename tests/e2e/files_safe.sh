#!/usr/bin/env bash
# The player's files are never lost, played with the real game:
#  1. kill -9 while F12's picture is being written leaves no cut file under a
#     screenshot's name, and the next F12 takes the number that was free;
#  2. SIGHUP (the terminal closed, with it the reader of the game's stderr)
#     saves config.cfg through its symlink, history.txt with its mode 0400
#     and the demo being recorded, and the game exits 0 as for SIGTERM;
#  3. on a full disk and 4. in a read-only player's folder (a small tmpfs
#     the script mounts) the old files stay and stderr has one line per file
#     that could not be saved, naming it and the reason; `record` refuses at
#     once when its demo cannot be written. Where nothing can be mounted,
#     3 and 4 are skipped with a line saying so.
# Usage: files_safe.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"

source "$(dirname "$0")/session.bash" "$0" "$@"
enter_work_folder "$data"
shown_files+=(config.cfg history.txt)

type_line() { xdotool type --delay 15 "$1"; xdotool key Return; }
start_game() { rm -f log.txt; "$game" > game.out 2> game.err & pid=$!; wait_for_game; }
# A whole PNG ends with its IEND chunk.
whole_png() { [ "$(tail -c 12 "$1" | od -An -tx1 | tr -d ' \n')" = 0000000049454e44ae426082 ]; }
# Waits (at most 20 seconds) until the game's stderr holds the whole line.
wait_for_err_line() {
  local tenths
  for tenths in $(seq 1 200); do
    grep -qxF -- "$1" "$work/game.err" 2> /dev/null && return 0
    game_running "stderr to show: $1"
    sleep 0.1
  done
  fail "stderr never showed: $1"
}

# 1. kill -9 as soon as the picture's file shows up in the folder.
start_game
xdotool key F12
for tries in $(seq 1 10000); do
  [ -n "$(ls -A screenshots 2> /dev/null)" ] && break
done
kill -9 "$pid"
wait "$pid" 2> /dev/null || true
pid=""
whole=0
for picture in screenshots/*.png; do
  [ -e "$picture" ] || continue
  whole_png "$picture" || fail "kill -9 left a cut $picture ($(stat -c %s "$picture") bytes)"
  whole=$((whole + 1))
done

# 2. The next start takes the free number, records, and gets SIGHUP after
# the reader of its stderr has gone.
mkdir dotfiles
printf 'mouse_sensitivity 0.02\n' > dotfiles/sheepfall.cfg
ln -s dotfiles/sheepfall.cfg config.cfg
printf 'old line\n' > history.txt
chmod 0400 history.txt
mkfifo err.fifo
cat err.fifo > game.err &
reader=$!
rm -f log.txt
"$game" > game.out 2> err.fifo &
pid=$!
wait_for_game
xdotool key F12
wait_for_log_line "Wrote screenshots/sheepfall-000$whole.png"
open_console
type_line "show_fps 0"
type_line "record r1"
wait_for_log_line "Recording demos/r1.dem"
sleep 1 # a second of play to record (nothing shows a frame being recorded)
kill "$reader"
wait "$reader" 2> /dev/null || true
type_line "no_such_command" # its error line goes to the closed pipe
wait_for_log_line "!Command not found!"
kill -HUP "$pid"
wait_for_exit 20
[ "$code" -eq 0 ] || fail "SIGHUP: exit code $code, not 0 as for SIGTERM"
grep -q "^Recorded [0-9]* frames .* to demos/r1.dem$" log.txt || fail "SIGHUP: the demo was not written"
[ "$(readlink config.cfg)" = dotfiles/sheepfall.cfg ] || fail "config.cfg is no longer the symlink"
diff dotfiles/sheepfall.cfg <(printf 'show_fps 0\nmouse_sensitivity 0.02\n') \
  || fail "SIGHUP: the symlink's target does not hold the settings"
[ "$(stat -c %a history.txt)" = 400 ] || fail "history.txt came back $(stat -c %a history.txt)"
diff history.txt <(printf '%s\n' "old line" "show_fps 0" "record r1" "no_such_command") \
  || fail "SIGHUP: history.txt"
[ -z "$(find . -name '*.tmp')" ] || fail "temporary files left: $(find . -name '*.tmp')"

# 3 and 4 need a file system of their own.
mnt="$work/mnt"
mkdir "$mnt"
if ! mount -t tmpfs -o size=1m,mode=0755 sheepfall-test "$mnt" 2> "$work/mount.err"; then
  echo "SKIPPED the full disk and read-only folder: cannot mount a tmpfs here: $(cat "$work/mount.err")"
  echo "files safe passed (without the full disk and the read-only folder)"
  exit 0
fi
unmount() { cd "$work"; [ -z "$pid" ] || { kill -9 "$pid"; wait "$pid" || true; pid=""; }; umount "$mnt"; }
trap 'unmount 2> /dev/null || true; cleanup' EXIT

# Starts the game in the folder with the options given, where its files
# cannot be written (so log.txt cannot show it started), and opens the
# console. The script stays in a folder it can write its screen grabs in.
start_blocked_game() {
  local folder="$1"
  shift
  (cd "$folder" && exec "$game" "$@" > "$work/game.out" 2> "$work/game.err") &
  pid=$!
  wait_for_focus
  open_console
}
# Quits with Escape; stderr must hold exactly the lines given (beside the
# one about log.txt, which the console reports itself).
quit_blocked_game() {
  xdotool key Escape
  wait_for_exit 20
  [ "$code" -eq 0 ] || fail "exit code $code"
  diff <(grep -v -e "log file" -e "log.txt" "$work/game.err") <(printf 'sheepfall: %s\n' "$@") \
    || fail "stderr is not one line per file that could not be saved"
}

# 3. A full disk: the game's working folder, its old files kept.
ln -s "$data" "$mnt/data"
printf 'max_fps 100\n' > "$mnt/config.cfg"
printf 'old line\n' > "$mnt/history.txt"
dd if=/dev/zero of="$mnt/filler" bs=4096 2> /dev/null || true
mkdir "$work/run"
cd "$work/run"
start_blocked_game "$mnt"
type_line "show_fps 0"
xdotool key F12
wait_for_err_line "sheepfall: Can't write screenshots/sheepfall-0000.png: No space left on device"
type_line "record r1"
sleep 1 # a second of play to record (nothing shows a frame being recorded)
type_line "stop"
wait_for_err_line "sheepfall: Can't write demos/r1.dem: No space left on device"
quit_blocked_game "Can't write screenshots/sheepfall-0000.png: No space left on device" \
  "Can't write demos/r1.dem: No space left on device" \
  "Can't write history.txt: No space left on device" \
  "Can't write config.cfg: No space left on device"
[ "$(cat "$mnt/config.cfg")" = "max_fps 100" ] || fail "the full disk cost config.cfg"
[ "$(cat "$mnt/history.txt")" = "old line" ] || fail "the full disk cost history.txt"
[ -z "$(find "$mnt" -name '*.tmp' -o -name '*.png' -o -name '*.dem')" ] || fail "files left: $(ls -R "$mnt")"

# 4. A read-only player's folder away from the working folder: the lines
# name each file by its full path; record refuses before a new game starts.
rm "$mnt/filler" "$mnt/data"
mkdir -p "$mnt/xdg/sheepfall/demos"
printf 'max_fps 100\n' > "$mnt/xdg/sheepfall/config.cfg"
mount -o remount,ro "$mnt"
folder="$mnt/xdg/sheepfall"
XDG_DATA_HOME="$mnt/xdg" start_blocked_game "$work/run" --data "$data"
type_line "show_fps 0"
type_line "record r1"
wait_for_err_line "sheepfall: Can't write $folder/demos/r1.dem: Read-only file system"
xdotool key F12
wait_for_err_line "sheepfall: Can't make folder $folder/screenshots: Read-only file system"
quit_blocked_game "Can't write $folder/demos/r1.dem: Read-only file system" \
  "Can't make folder $folder/screenshots: Read-only file system" \
  "Can't write $folder/history.txt: Read-only file system" \
  "Can't write $folder/config.cfg: Read-only file system"
[ "$(cat "$folder/config.cfg")" = "max_fps 100" ] || fail "config.cfg changed"
echo "files safe passed"
