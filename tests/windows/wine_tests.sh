#!/usr/bin/env bash
# The Windows build's GoogleTest programs run under Wine on a virtual screen
# (1280x1024x24, as the Linux suite's), through ctest as on Linux: every
# test case in its own process, each in a scratch folder of its own. One
# Wine prefix is made fresh for the run in WINDOWS_BUILD/wine-tests (never
# the user's ~/.wine); its wineserver is kept running across the tests, so
# a test does not pay for starting Wine's services, and is stopped at the
# end with the prefix removed. The tests left out on Windows are named in
# tests/CMakeLists.txt (windows_left_out).
# Usage: wine_tests.sh WINDOWS_BUILD [CTEST_OPTIONS...]
#   (JOBS: tests at once, default 2; -R REGEX, say, runs some of them)
set -euo pipefail

build="$(cd "$1" && pwd)"
shift
if [ -z "${SHEEPFALL_WINE_TESTS_DISPLAY:-}" ]; then
  export SHEEPFALL_WINE_TESTS_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$build" "$@"
fi

wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
deps="$(sed -n 's/^SHEEPFALL_WINDOWS_DEPS:[A-Z]*=//p' "$build/CMakeCache.txt")"
[ -d "$deps/bin" ] || { echo "wine_tests: $build has no Windows libraries configured (run make windows)"; exit 1; }

# The test programs find the game's DLLs where they were built (Wine sees
# the Linux root as drive Z:); ctest starts them through wine64, the
# build's CROSSCOMPILING_EMULATOR.
export WINEPREFIX="$build/wine-tests" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="Z:$deps/bin;Z:/usr/x86_64-w64-mingw32/lib"
export SDL_AUDIODRIVER=dummy

stop_wine() {
  "$wineserver" -k 2> /dev/null || true
  rm -rf "$WINEPREFIX"
}
trap stop_wine EXIT

# The persistent wineserver first, then the prefix: Wine's services, which
# wineboot starts, then stay up for the whole run with their output in the
# log. (Started by the first test instead, they would hold its output pipe
# open, and ctest would wait for them until its timeout.)
stop_wine
start=$(date +%s)
mkdir -p "$WINEPREFIX"
"$wineserver" -p
if ! "$wine" wineboot --init > "$build/wine-tests.log" 2>&1; then
  echo "wine_tests: wineboot failed to make the prefix $WINEPREFIX:"
  cat "$build/wine-tests.log"
  exit 1
fi
echo "wine_tests: Wine prefix made in $(( $(date +%s) - start )) s"

# A test that fails is run once more before it counts as failed: once in
# about 1,900 test processes, one ended under Wine at once with no output at
# all and passed when run again. The first failure's output stays in the log.
cd "$build"
ctest --output-on-failure --repeat until-pass:2 -j"${JOBS:-2}" "$@"
