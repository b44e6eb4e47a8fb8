#!/usr/bin/env bash
# Builds the simulator and starts it on the bundled sample scenario.
# With no display (no DISPLAY or WAYLAND_DISPLAY) it starts a virtual X
# server, says so, and writes a screenshot of the whole screen to a file;
# the program keeps running there until it is stopped with Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
program=build/bin/vorn
[ -x "$program" ] || program=build/bin/plat_demo
export VORN_DATA_DIR="${VORN_DATA_DIR:-$PWD/build/data}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  shot="${VORN_SCREENSHOT:-$PWD/vorn-screenshot.png}"
  echo "run: no display found; starting $program under Xvfb."
  echo "run: a screenshot of the whole screen will be written to $shot"
  echo "run: the program keeps running with nobody to see it; stop it with Ctrl+C."
  export PLAT_SCREENSHOT="$shot"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program"
fi
exec "$program"
