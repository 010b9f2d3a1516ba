#!/usr/bin/env bash
# The Debian package, built once with CPack: named sheepfall_1.0_ARCH.deb,
# its dependencies computed from the libraries the game links, lintian
# without errors, and the game unpacked from it (dpkg-deb -x) into a scratch
# root plays twice with the player's files in the player's own folder.
# Usage: package_session.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
game="$1" data="$2" screenshot="$3"
build="$(dirname "$data")"

source "$(dirname "$0")/session.bash" "$0" "$@"
source "$(dirname "$0")/installed_game.bash"
cd "$work"

fail() {
  echo "FAIL: $*"
  for f in cpack.log lintian.log game.out "${player:-none}/log.txt"; do echo "--- $f"; cat "$f" || true; done
  exit 1
}

# Built into the scratch folder, so the build folder gets no package files.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" > cpack.log 2>&1 || fail "cpack"
deb="$work/package/sheepfall_1.0_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/package")"

[ "$(dpkg-deb -f "$deb" Version)" = "1.0" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libpng16-16 libglu1-mesa libc6; do
  grep -q "$library" <<< "$depends" || fail "Depends lacks $library: $depends"
done
dpkg-deb -c "$deb" > contents.txt
for file in usr/games/sheepfall usr/share/games/sheepfall/data/font.png usr/share/doc/sheepfall/copyright \
  usr/share/doc/sheepfall/changelog.gz usr/share/applications/sheepfall.desktop \
  usr/share/man/man6/sheepfall.6.gz usr/share/icons/hicolor/48x48/apps/sheepfall.png; do
  grep -q " \./$file\$" contents.txt || fail "the package has no /$file"
done

# lintian's exit code also counts warnings; its errors are the "E:" lines.
lintian --tag-display-limit 0 "$deb" > lintian.log 2>&1 || true
grep -q "internal error\|^Usage" lintian.log && fail "lintian did not run"
! grep -q "^E: " lintian.log || fail "lintian reports errors"

dpkg-deb -x "$deb" "$work/root"
[ "$("$work/root/usr/games/sheepfall" --version)" = "Sheepfall 1.0" ] || fail "--version"
play_installed_game "$work/root/usr/games/sheepfall" "$work/root"
echo "package session passed (lintian: $(grep -c '^W: ' lintian.log || true) warnings)"
