#!/usr/bin/env bash
# Starts the game; on a machine without a display it starts it under Xvfb,
# a virtual screen, and says so.
set -euo pipefail
game="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Sheepfall under Xvfb (a virtual 1280x1024 screen)."
  echo "Drive it with xdotool on that display, or see README.md for watching it."
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$game"
fi
exec "$game"
