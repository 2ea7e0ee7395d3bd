#!/bin/bash
# Installs, builds, creates a simulated board root and starts the instrument on it.
#   ORNAV_ROOT      simulated board root (default /tmp/ornav-root)
#   ORNAV_LANGUAGE  language of the screens: en (default) or zh
# With a display (DISPLAY set) the screen opens in a window; without one the
# instrument runs headless (see the README for seeing the screen then).
set -e
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
ROOT=${ORNAV_ROOT:-/tmp/ornav-root}
./build/tools/ornav-sim --root "$ROOT" init --language "${ORNAV_LANGUAGE:-en}"
# rpcbind carries the VXI-11 registration for network clients.
# Ask the port mapper itself: an rpcbind of another namespace or container
# shows in the process list and serves nobody here.
rpcinfo -p 127.0.0.1 >/dev/null 2>&1 || rpcbind -w 2>/dev/null || rpcbind || true
if [ -z "${QT_QPA_PLATFORM:-}" ]; then
  if [ -n "${DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=xcb
    echo "run-sim: opening the instrument's screen on display $DISPLAY"
  else
    export QT_QPA_PLATFORM=offscreen
    echo "run-sim: no display, running headless (bash scripts/screenshots.sh shows the screens as pictures)"
  fi
fi
exec ./build/ornav72 --root "$ROOT"
