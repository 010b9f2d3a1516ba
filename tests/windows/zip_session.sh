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

source "$(dirname "$0")/wine.bash" "$0" "$@"
screenshot="$linux_build/tests/screenshot"
zip="$(ls "$windows_build"/Sheepfall-*-win64.zip)"
game_folder="$work/drive/$(basename "$zip" .zip)"
shown_files=(wineboot.out game.out game.err "drive/$(basename "$zip" .zip)/log.txt"
             linux/game.err linux/log.txt)

make_wine_prefix
mkdir -p "$work/drive"
unzip -q "$zip" -d "$work/drive"
for file in sheepfall.exe SDL2.dll data/font.png README.txt LICENSE.txt; do
  [ -e "$game_folder/$file" ] || fail "the zip has no $file"
done

# The Windows game, from its unpacked folder.
cd "$game_folder"
play_and_quit log.txt "" game "$wine" ./sheepfall.exe
for file in config.cfg log.txt screenshots/sheepfall-0000.png; do
  [ -s "$file" ] || fail "the game left no $file beside itself"
done
grep -qx "mouse_sensitivity 0.02" config.cfg || fail "config.cfg does not keep the changed setting"

# The Linux game, started the same way in a folder with the same data.
mkdir "$work/linux"
ln -s "$linux_build/data" "$work/linux/data"
cd "$work/linux"
play_and_quit log.txt "" linux/game "$linux_build/sheepfall"

cmp -s config.cfg "$game_folder/config.cfg" || fail "the two games wrote different config.cfg files:
$(diff config.cfg "$game_folder/config.cfg")"
different="$("$screenshot" --diff screenshots/sheepfall-0000.png \
  "$game_folder/screenshots/sheepfall-0000.png")"
echo "zip_session: the Windows game's first frame differs from the Linux game's in $different% of its pixels"
awk -v d="$different" 'BEGIN { exit !(d <= 1) }' \
  || fail "the Windows game's first frame differs from the Linux game's in $different% of its pixels"
echo "zip_session: passed"
