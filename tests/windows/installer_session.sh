#!/usr/bin/env bash
# The Windows installer under Wine: `/S` installs the game silently into
# Program Files with a Start-menu entry and the uninstall entry Windows'
# "Apps" list reads (name, version, publisher, icon); the installed game,
# played, keeps the player's files in %APPDATA%\Sheepfall and writes nothing
# beside itself; `Uninstall.exe /S` removes the game, its entry and its
# shortcut and leaves the player's files.
# Usage: installer_session.sh WINDOWS_BUILD
set -euo pipefail
windows_build="$(cd "$1" && pwd)"

source "$(dirname "$0")/wine.bash" "$0" "$@"
setup="$(ls "$windows_build"/Sheepfall-*-setup.exe)"
version="$(basename "$setup" -setup.exe)"; version="${version#Sheepfall-}"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sheepfall'
shown_files=(wineboot.out game.out game.err player/log.txt)

# The value's data in the registry, empty when it is not there.
registry_value() {
  "$wine" reg query "$uninstall_key" /v "$1" 2> /dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

make_wine_prefix
installed="$drive_c/Program Files/Sheepfall"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sheepfall/Sheepfall.lnk"

"$wine" "$setup" /S || fail "the silent install failed"
"$wineserver" -w
for file in sheepfall.exe SDL2.dll data/font.png Uninstall.exe LICENSE.txt; do
  [ -e "$installed/$file" ] || fail "the installer put no $file into $installed"
done
[ -f "$shortcut" ] || fail "the installer made no Start-menu entry at $shortcut"
for row in "DisplayName=Sheepfall" "DisplayVersion=$version" \
  "Publisher=The Sheepfall developers" 'DisplayIcon=C:\Program Files\Sheepfall\sheepfall.exe'; do
  seen="$(registry_value "${row%%=*}")"
  [ "$seen" = "${row#*=}" ] || fail "the uninstall entry's ${row%%=*} is '$seen', not '${row#*=}'"
done

# The installed game, started from elsewhere; the player's folder is found
# under the Wine user's roaming application data once the game made it.
cd "$work"
appdata="$(find "$drive_c/users" -maxdepth 3 -type d -path '*/AppData/Roaming' | head -n 1)"
[ -n "$appdata" ] || fail "the Wine prefix has no AppData/Roaming folder"
ln -s "$appdata/Sheepfall" "$work/player"
user="$(basename "$(dirname "$(dirname "$appdata")")")"
play_and_quit "$appdata/Sheepfall/log.txt" 'C:\users\'"$user"'\AppData\Roaming\Sheepfall' game \
  "$wine" "$installed/sheepfall.exe"
for file in config.cfg log.txt screenshots/sheepfall-0000.png; do
  [ -s "$appdata/Sheepfall/$file" ] || fail "the installed game left no $file in %APPDATA%\\Sheepfall"
  [ ! -e "$installed/$file" ] || fail "the installed game wrote $file beside itself"
done
grep -qx "mouse_sensitivity 0.02" "$appdata/Sheepfall/config.cfg" \
  || fail "config.cfg does not keep the changed setting"

"$wine" "$installed/Uninstall.exe" /S || fail "the silent uninstall failed"
"$wineserver" -w
# The uninstaller runs from a copy of itself: wait (at most 60 seconds)
# until the game is gone.
for tenths in $(seq 1 600); do
  [ -e "$installed/sheepfall.exe" ] || break
  sleep 0.1
done
[ ! -e "$installed/sheepfall.exe" ] || fail "the uninstaller left $installed/sheepfall.exe"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"
[ -z "$(registry_value DisplayName)" ] || fail "the uninstaller left the uninstall entry"
[ -s "$appdata/Sheepfall/config.cfg" ] || fail "the uninstaller removed the player's config.cfg"
echo "installer_session: passed"
