# Sourced by the scripts that start the real game in a scratch folder:
# waits until its log says level 1 is loaded ("Reloading textures..."),
# looking every STEP seconds for at most SECONDS. Calls the script's own
# `fail` with the reason when the game ends first or the time runs out.
# Usage: wait_for_first_level PID SECONDS STEP
wait_for_first_level() {
  local pid="$1" seconds="$2" step="$3" tries
  tries=$(awk -v s="$seconds" -v t="$step" 'BEGIN { printf "%d", s / t }')
  for _ in $(seq 1 "$tries"); do
    grep -qx "Reloading textures..." log.txt 2> /dev/null && return 0
    kill -0 "$pid" 2> /dev/null || fail "the game ended during start-up"
    sleep "$step"
  done
  grep -qx "Reloading textures..." log.txt || fail "level 1 did not load within ${seconds}s"
}
