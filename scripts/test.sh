#!/bin/bash
# Installs, builds and runs every test: the test programs (ctest), the
# screenshot tour and the fuzz targets (FUZZ_SECONDS each, 15 by default).
# Exits non-zero when any of them fails and ends with the time each part and
# each test program took, so a slow newcomer shows.
set -e
cd "$(dirname "$0")/.."
times=()
mark() { times+=("$(printf '%-34s %6ds' "$1" "$2")"); }
t=$SECONDS
bash scripts/deps.sh
mark "packages" $((SECONDS - t))
t=$SECONDS
# A warning fails the build here (and so in CI).
ORNAV_WERROR=${ORNAV_WERROR:-ON} bash scripts/build.sh
mark "build" $((SECONDS - t))
export QT_QPA_PLATFORM=offscreen
status=0
t=$SECONDS
log=build/Testing/ctest-output.txt
mkdir -p build/Testing
# The test programs run in a network namespace with a port mapper of their
# own (scripts/isolated.sh): every instrument a test starts registers with
# the port mapper, and on a machine where another instrument runs, a client
# would otherwise be handed that instrument (and lose it when it stops).
# Where no namespace can be made, they use this machine's port mapper: ask
# it, rather than look for an rpcbind process (one running in another
# namespace or container shows in the process list and serves nobody here).
if bash scripts/isolated.sh true 2>/dev/null; then
  isolate=(bash scripts/isolated.sh)
else
  echo "test: no private network namespace here; the tests use this machine's port mapper"
  rpcinfo -p 127.0.0.1 >/dev/null 2>&1 || rpcbind -w 2>/dev/null || rpcbind || true
  for i in $(seq 50); do rpcinfo -p 127.0.0.1 >/dev/null 2>&1 && break; sleep 0.1; done
  isolate=()
fi
"${isolate[@]}" bash -c 'cd build && ctest --output-on-failure --timeout 900' 2>&1 | tee "$log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
mark "ctest" $((SECONDS - t))
# Screens: the screenshot tour in a real X window (Xvfb), in both languages.
# The tours mostly wait for the screens to settle: with namespaces each runs
# in its own, both at once (their instruments then have the network to
# themselves); without, one after the other.
t=$SECONDS
if [ ${#isolate[@]} -gt 0 ]; then
  "${isolate[@]}" env SHOT_DISPLAY=90 bash scripts/screenshots.sh build/screenshots >build/screenshots.log 2>&1 &
  en=$!
  "${isolate[@]}" env SHOT_DISPLAY=95 ORNAV_LANGUAGE=zh bash scripts/screenshots.sh build/screenshots-zh \
    >build/screenshots-zh.log 2>&1 &
  zh=$!
  wait $en || status=1
  wait $zh || status=1
  cat build/screenshots.log build/screenshots-zh.log
else
  bash scripts/screenshots.sh build/screenshots || status=1
  ORNAV_LANGUAGE=zh bash scripts/screenshots.sh build/screenshots-zh || status=1
fi
mark "screenshot tour (both languages)" $((SECONDS - t))
if [ -x fuzz/run.sh ]; then
  t=$SECONDS
  FUZZ_SECONDS=${FUZZ_SECONDS:-15} bash fuzz/run.sh || status=1
  mark "fuzz (build and run)" $((SECONDS - t))
fi
echo
echo "Time of each test program:"
sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 \1/p' "$log" |
  sort -rn | awk '{ printf "  %-32s %6.0fs\n", $2, $1 }'
echo "Time of each part:"
printf '  %s\n' "${times[@]}"
exit $status
