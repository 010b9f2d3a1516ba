#!/usr/bin/env bash
# `cmake --install` of the build: the files a player's desktop needs, in the
# Debian layout for games under /usr and in bin/ and share/ elsewhere; the
# menu entry and the metainfo pass their validators; the installed game,
# moved to another prefix, still finds its data and plays twice with the
# player's files in the player's own folder.
# Usage: installed_session.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"
build="$(dirname "$data")"

source "$(dirname "$0")/session.bash" "$0" "$@"
source "$(dirname "$0")/installed_game.bash"
cd "$work"

fail() {
  echo "FAIL: $*"
  for f in install.log game.out "${player:-none}/log.txt"; do echo "--- $f"; cat "$f" || true; done
  exit 1
}
# Width and height from a PNG's header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }

# Under /usr (staged with DESTDIR): the Debian layout for games.
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr > install.log 2>&1 || fail "install under /usr"
for file in usr/games/sheepfall usr/share/games/sheepfall/data/font.png \
  usr/share/games/sheepfall/data/FONT-LICENSE usr/share/man/man6/sheepfall.6.gz; do
  [ -f "stage/$file" ] || fail "no $file under /usr"
done
[ ! -e stage/usr/bin ] || fail "the /usr install has a bin/"

# Anywhere else: bin/ and share/.
cmake --install "$build" --prefix "$work/prefix" > install.log 2>&1 || fail "install"
p="$work/prefix/share"
for file in "$work/prefix/bin/sheepfall" "$p/sheepfall/data/level1.txt" \
  "$p/sheepfall/data/sound/fire.wav" "$p/applications/sheepfall.desktop" \
  "$p/metainfo/io.github.sheepfall.Sheepfall.metainfo.xml" "$p/man/man6/sheepfall.6.gz" \
  "$p/doc/sheepfall/copyright" "$p/doc/sheepfall/changelog.gz"; do
  [ -f "$file" ] || fail "not installed: $file"
done
[ -x "$work/prefix/bin/sheepfall" ] || fail "the game is not executable"
for size in 48 128 256; do
  icon="$p/icons/hicolor/${size}x${size}/apps/sheepfall.png"
  [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "icon $icon is not ${size}x${size}"
done
desktop-file-validate "$p/applications/sheepfall.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$p/metainfo/io.github.sheepfall.Sheepfall.metainfo.xml" \
  || fail "appstreamcli validate"
grep -q '<release version="1.0"' "$p/metainfo/io.github.sheepfall.Sheepfall.metainfo.xml" \
  || fail "the metainfo does not name version 1.0"
zcat "$p/man/man6/sheepfall.6.gz" | grep -q '^\.TH SHEEPFALL 6 .*"Sheepfall 1.0"' \
  || fail "the manual page does not name Sheepfall 1.0"
warnings=$(zcat "$p/man/man6/sheepfall.6.gz" | LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l - 2>&1 > /dev/null)
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"

# The prefix moves: the game finds its data from its own place.
mv "$work/prefix" "$work/moved"
[ "$("$work/moved/bin/sheepfall" --version)" = "Sheepfall 1.0" ] || fail "--version"
play_installed_game "$work/moved/bin/sheepfall" "$work/moved"
echo "installed session passed"
