#!/bin/bash
# Installs, builds, creates a simulated board root and starts the instrument on it.
#   ORNAV_ROOT  simulated board root (default /tmp/ornav-root)
set -e
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
ROOT=${ORNAV_ROOT:-/tmp/ornav-root}
./build/tools/ornav-sim --root "$ROOT" init
# rpcbind carries the VXI-11 registration for network clients.
pgrep -x rpcbind >/dev/null || rpcbind -w 2>/dev/null || rpcbind || true
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
exec ./build/ornav72 --root "$ROOT"
