#!/usr/bin/env bash
# The portable Windows game played under Wine on a virtual screen: the zip is
# unpacked into a fresh Wine prefix's drive, the game starts windowed with
# a changed setting and `+screenshot`, Escape quits it with exit code 0, and
# the player's files (log.txt, config.cfg, the screenshot) are beside the
# executable, as for a game unpacked anywhere writable. The Linux build
# started the same way must write the same config.cfg and a screenshot that
# differs from the Windows one in few pixels.
# Usage: zip_session.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
windows_build="$(cd "$1" && pwd)" linux_build="$(cd "$2" && pwd)"

source "$(dirname "$0")/../e2e/session.bash" "$0" "$@"
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
screenshot="$linux_build/tests/screenshot"
zip="$(ls "$windows_build"/Sheepfall-*-win64.zip)"
game_folder="$work/drive/$(basename "$zip" .zip)"
shown_files=(wineboot.out game.out game.err "drive/$(basename "$zip" .zip)/log.txt"
             linux/game.err linux/log.txt)

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup_wine() {
  if [ -n "$pid" ]; then kill "$pid" 2> /dev/null || true; fi
  "$wineserver" -k 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup_wine EXIT

# log.txt as the Windows game writes it, in Windows' line ends.
wait_for_windows_log_line() {
  local tenths
  for tenths in $(seq 1 600); do
    [ -f log.txt ] && tr -d '\r' < log.txt | grep -qxF -- "$1" && return 0
    game_running "log.txt to show: $1"
    sleep 0.1
  done
  fail "log.txt never showed: $1"
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

# Starts the game in the working folder, waits for its screenshot, then
# quits it with Escape; exit code 0 expected.
play_and_quit() {
  local log_line="$1"; shift
  "$@" --windowed +mouse_sensitivity 0.02 +screenshot > "$work/$out.out" 2> "$work/$out.err" &
  pid=$!
  wait_for_windows_log_line "$log_line"
  press_in_game_window Escape
  wait_for_exit 60
  [ "$code" -eq 0 ] || fail "$out: Escape ended the game with exit code $code"
}

"$wine" wineboot --init > "$work/wineboot.out" 2>&1 || fail "wineboot failed"
"$wineserver" -w

mkdir -p "$work/drive"
unzip -q "$zip" -d "$work/drive"
for file in sheepfall.exe SDL2.dll data/font.png README.txt LICENSE.txt; do
  [ -e "$game_folder/$file" ] || fail "the zip has no $file"
done

# The Windows game, from its unpacked folder.
cd "$game_folder"
out=game
play_and_quit "Wrote screenshots/sheepfall-0000.png" "$wine" ./sheepfall.exe
for file in config.cfg log.txt screenshots/sheepfall-0000.png; do
  [ -s "$file" ] || fail "the game left no $file beside itself"
done
grep -qx "mouse_sensitivity 0.02" config.cfg || fail "config.cfg does not keep the changed setting"

# The Linux game, started the same way in a folder with the same data.
mkdir "$work/linux"
ln -s "$linux_build/data" "$work/linux/data"
cd "$work/linux"
out=linux/game
play_and_quit "Wrote screenshots/sheepfall-0000.png" "$linux_build/sheepfall"

cmp -s config.cfg "$game_folder/config.cfg" || fail "the two games wrote different config.cfg files:
$(diff config.cfg "$game_folder/config.cfg")"
different="$("$screenshot" --diff screenshots/sheepfall-0000.png \
  "$game_folder/screenshots/sheepfall-0000.png")"
echo "zip_session: the Windows game's first frame differs from the Linux game's in $different% of its pixels"
awk -v d="$different" 'BEGIN { exit !(d <= 1) }' \
  || fail "the Windows game's first frame differs from the Linux game's in $different% of its pixels"
echo "zip_session: passed"
