#!/usr/bin/env bash
# The end-to-end scripts' own failure reports (session.bash), checked on
# small scripts that use the session as the tests do: a step that fails
# outside a check names its file, line and command and the function it was
# in, a check that fails says what it saw, and both show the game's stdout,
# stderr and log.txt. No script ends without a word.
# Usage: failure_report.sh GAME DATA_DIR SCREENSHOT_TOOL
set -euo pipefail
session="$(dirname "$(realpath "$0")")/session.bash"

source "$session" "$0" "$@"
cd "$work"

# Runs the body (from its line 4 on) in a script that starts like the tests
# and leaves game output in the session's files; $status and report.txt
# keep what it did.
run_script() {
  printf '%s\n' "source \"$session\" \"\$0\"" 'cd "$work"' \
    'echo "game says hi" > game.out; echo "game complains" > game.err; echo "[System initialized]" > log.txt' \
    "$1" 'echo "reached the end"' > script.sh
  status=0
  bash script.sh > report.txt 2>&1 || status=$?
}
# The report must hold each line given, whole.
expect_lines() {
  local line
  for line in "$@"; do
    grep -qxF -- "$line" report.txt || { echo "--- report"; cat report.txt; fail "$case: no line: $line"; }
  done
}
expect_game_files_shown() {
  expect_lines "--- game.out" "game says hi" "--- game.err" "game complains" "--- log.txt" \
    "[System initialized]"
}

case="a window lookup that finds nothing"
run_script $'find_window() { local id; id=$(xdotool search --name "no such window" | head -1); }\nfind_window'
[ "$status" -eq 1 ] || fail "$case: exit status $status"
expect_lines 'FAIL: a step failed (exit status 1) at script.sh line 4: id=$(xdotool search --name "no such window" | head -1)' \
  "  in find_window, called at script.sh line 5"
expect_game_files_shown
[ "$(grep -c "^FAIL" report.txt)" -eq 1 ] || fail "$case: not told exactly once: $(cat report.txt)"
grep -q "reached the end" report.txt && fail "$case: the script went on"

case="a check that fails"
run_script 'fail "the sky is not blue"'
[ "$status" -eq 1 ] || fail "$case: exit status $status"
expect_lines "FAIL: the sky is not blue"
expect_game_files_shown

case="waiting on a game that has ended"
run_script $'true & pid=$!\nwait "$pid"\nwait_for_log_line "Ya win"'
[ "$status" -eq 1 ] || fail "$case: exit status $status"
expect_lines "FAIL: the game ended while waiting for: log.txt to show: Ya win"

case="failures inside conditions"
run_script $'grep -q "Ya win" log.txt && fail "never"\nx=$(false) || x=other\n[ "$x" = other ] || fail "x is $x"'
[ "$status" -eq 0 ] || fail "$case: exit status $status: $(cat report.txt)"
expect_lines "reached the end"
grep -q "FAIL" report.txt && fail "$case: a failure was reported: $(cat report.txt)"
echo "failure report passed"
