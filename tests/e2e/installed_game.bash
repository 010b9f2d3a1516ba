# Shared by installed_session.sh and package_session.sh (sourced, not a test
# of its own): plays an installed copy of the game twice as a player would,
# with HOME and XDG_DATA_HOME in the scratch folder and the installed tree
# made read-only, and checks that the player's files are where they belong
# and that nothing was written under the installed tree.
# Needs session.bash's helpers, $work, $screenshot and the script's fail.

# Sanitizer builds: the driver blocks that the launcher of the other sessions
# keeps reachable would be reported at exit; the game's own leaks are checked
# there already.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

type_line() { xdotool type --delay 15 "$1"; xdotool key Return; }

# The files under a tree with their sizes, modes and times, for a before and
# after comparison.
tree_state() { find "$1" -printf '%p %s %m %T@\n' | sort; }

# play_installed_game EXECUTABLE TREE: the installed game started twice from
# a folder that happens to hold an unrelated data/ (no font, a level that
# does not parse) and the user's own log.txt: the game must read its
# installed data and leave that folder as it was.
play_installed_game() {
  local installed="$1" tree="$2" before after run_before
  export HOME="$work/home" XDG_DATA_HOME="$work/xdg"
  player="$XDG_DATA_HOME/sheepfall"
  mkdir -p "$HOME" "$work/run/data"
  echo "not a level" > "$work/run/data/level1.txt"
  echo "the user's own notes" > "$work/run/log.txt"
  run_before=$(tree_state "$work/run")
  # The session helpers read ./log.txt: here it lies in the player's folder.
  ln -sfn "$player/log.txt" "$work/log.txt"
  before=$(tree_state "$tree")
  chmod -R a-w "$tree"

  (cd "$work/run" && exec "$installed") > game.out 2>&1 &
  pid=$!
  wait_for_game
  [ "$(stat -c %a "$player")" = 700 ] || fail "the player's folder is not private: $(stat -c %a "$player")"
  open_console
  type_line "show_fps 0"
  type_line "screenshot"
  wait_for_log_line "Wrote $player/screenshots/sheepfall-0000.png"
  xdotool key Escape
  wait_for_exit 20
  [ "$code" -eq 0 ] || fail "the first start ended with $code"
  grep -qx "show_fps 0" "$player/config.cfg" || fail "config.cfg has no show_fps 0"
  [ -s "$player/screenshots/sheepfall-0000.png" ] || fail "no screenshot in the player's folder"

  (cd "$work/run" && exec "$installed") > game.out 2>&1 &
  pid=$!
  wait_for_game
  open_console
  type_line "show_fps"
  wait_for_log_line "show_fps = 0 (false)"
  xdotool key Escape
  wait_for_exit 20
  [ "$code" -eq 0 ] || fail "the second start ended with $code"

  chmod -R u+w "$tree"
  after=$(tree_state "$tree")
  [ "$before" = "$after" ] || fail "written under the installed tree: $(diff <(echo "$before") <(echo "$after"))"
  [ "$(tree_state "$work/run")" = "$run_before" ] ||
    fail "the working folder changed: $(diff <(echo "$run_before") <(tree_state "$work/run"))"
}
