#!/bin/bash
# Installs, builds and runs every test. Exits non-zero when any test fails.
set -e
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
pgrep -x rpcbind >/dev/null || rpcbind -w 2>/dev/null || rpcbind || true
export QT_QPA_PLATFORM=offscreen
status=0
# The longest test (50 SIGKILL rounds of the real program) takes about ten
# minutes on a busy machine.
(cd build && ctest --output-on-failure --timeout 1500) || status=1
# Screens: the screenshot tour in a real X window (Xvfb).
bash scripts/screenshots.sh build/screenshots || status=1
ORNAV_LANGUAGE=zh bash scripts/screenshots.sh build/screenshots-zh || status=1
if [ -x fuzz/run.sh ]; then
  FUZZ_SECONDS=${FUZZ_SECONDS:-60} bash fuzz/run.sh || status=1
fi
exit $status
