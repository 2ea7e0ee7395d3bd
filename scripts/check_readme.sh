#!/bin/bash
# Runs the README's first session as a new user would, on a fresh simulated
# board: every fenced block opened with "```sh runnable" in order, from the
# checkout. A block opened with "```sh runnable background" is the terminal
# left running (the instrument); the blocks after it run in a second one once
# the instrument answers over VXI-11, and Ctrl-C (SIGINT to its process
# group) must end it. The session runs twice: without a display, and on a
# virtual X display (Xvfb) as on a desktop.
#
#   bash scripts/check_readme.sh [BUILD_DIR]     (default: the checkout's build/)
#
# Each run has namespaces of its own: a network with only loopback and a
# port mapper of its own, private /run and /tmp (so /tmp/ornav-root is fresh
# and no instrument of the machine is seen), and the checkout behind a
# throw-away overlay, so what the commands write (scope.png, screen.png, a
# re-run of the build) goes nowhere. Exit 77 (skipped) where no namespace can
# be made.
set -u
# A child that has ended stays a zombie until waited for; kill -0 still finds it.
alive() { local s; s=$(ps -o stat= -p "$1" 2>/dev/null); [ -n "$s" ] && [ "${s#Z}" = "$s" ]; }
SRC=$(cd "$(dirname "$0")/.." && pwd)
README=$SRC/README.md

if [ "${1:-}" != --inside ]; then
  BUILD=$(cd "${1:-$SRC/build}" && pwd) || exit 1
  if ! unshare --net --mount --propagation private --pid --fork --mount-proc true 2>/dev/null; then
    echo "check_readme: cannot make namespaces here (needs root); skipped"
    exit 77
  fi
  rc=0
  for mode in headless display; do
    if [ $mode = display ] && ! command -v Xvfb >/dev/null; then
      echo "=== README first session, display: skipped, no Xvfb (scripts/deps.sh installs it)"
      continue
    fi
    echo "=== README first session, $mode"
    unshare --net --mount --propagation private --pid --fork --mount-proc -- \
      bash "$0" --inside "$mode" "$BUILD" || rc=1
  done
  exit $rc
fi

# ---- inside the namespaces
MODE=$2
BUILD=$3
set -e
ip link set lo up
mount -t tmpfs -o mode=755 tmpfs /run
# The checkout (and the build) stay reachable through /run while the fresh
# /tmp hides whatever was there: a checkout under /tmp is hidden with it.
mkdir -p /run/lock /run/.lower/src /run/.lower/build
mount --bind "$SRC" /run/.lower/src
[ "$BUILD" = "$SRC/build" ] || mount --bind "$BUILD" /run/.lower/build
mount -t tmpfs -o mode=1777 tmpfs /tmp
mkdir -p /tmp/.overlay/src /tmp/.overlay/srcwork "$SRC"
mount -t overlay overlay -o "lowerdir=/run/.lower/src,upperdir=/tmp/.overlay/src,workdir=/tmp/.overlay/srcwork" "$SRC"
if [ "$BUILD" != "$SRC/build" ]; then
  mkdir -p "$SRC/build" /tmp/.overlay/build /tmp/.overlay/buildwork
  mount -t overlay overlay -o "lowerdir=/run/.lower/build,upperdir=/tmp/.overlay/build,workdir=/tmp/.overlay/buildwork" "$SRC/build"
fi
set +e

# A fresh user's environment: nothing of the test's own settings.
unset QT_QPA_PLATFORM ORNAV_ROOT ORNAV_LANGUAGE ORNAV_BIN_DIR ORNAV_SOURCE_DIR DISPLAY WAYLAND_DISPLAY
if [ "$MODE" = display ]; then
  Xvfb :7 -screen 0 1280x800x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
  for _ in $(seq 100); do [ -S /tmp/.X11-unix/X7 ] && break; sleep 0.1; done
  export DISPLAY=:7
fi

BLOCKS=/tmp/.readme
mkdir -p "$BLOCKS"
awk -v dir="$BLOCKS" '
  /^```sh runnable/ { n++; f = sprintf("%s/%02d%s.sh", dir, n, ($3 == "background") ? "-bg" : ""); inblock = 1; next }
  inblock && /^```/ { inblock = 0; close(f); next }
  inblock { print > f }
' "$README"
if ! ls "$BLOCKS"/*.sh >/dev/null 2>&1; then
  echo "FAIL: README.md has no block marked runnable"
  exit 1
fi

fail=0
bg=
cd "$SRC"
for block in "$BLOCKS"/*.sh; do
  echo "--- $(basename "$block")"
  sed 's/^/  $ /' "$block"
  if [ "${block%-bg.sh}" != "$block" ]; then
    # Its own process group, as a terminal's foreground job.
    : >/tmp/instrument.log
    setsid bash -e "$block" >/tmp/instrument.log 2>&1 &
    bg=$!
    up=0
    for _ in $(seq 600); do
      grep -q "vxi11_init ok!" /tmp/instrument.log && { up=1; break; }
      alive "$bg" || break
      sleep 0.5
    done
    if [ $up = 0 ]; then
      echo "FAIL: the instrument did not come up"
      tail -40 /tmp/instrument.log
      exit 1
    fi
    continue
  fi
  out=$(timeout 120 bash -e "$block" 2>&1)
  code=$?
  printf '%s\n' "$out" | sed 's/^/  /'
  printf '%s\n' "$out" >>/tmp/session.out
  if [ $code != 0 ]; then
    echo "FAIL: exit status $code"
    fail=1
  fi
done

# What a user sees must be right, not only exit 0: the identity, an empty
# error list after the settings, and the pictures the commands name.
grep -q "ORNAV46Q" /tmp/session.out || { echo "FAIL: no *IDN? reply"; fail=1; }
grep -q '^0,"No error"' /tmp/session.out || { echo "FAIL: the error list is not empty"; fail=1; }
# The scope sees the two waves the session sets: 1 kHz on CH1, 5 kHz on CH2.
awk '/^CH[0-9] /{ch=$1} /^Freq /{print ch, $2, $3}' /tmp/session.out >/tmp/freqs
grep -qx 'CH1 1.0000[0-9] kHz' /tmp/freqs && grep -qx 'CH2 5.0000[0-9] kHz' /tmp/freqs ||
  { echo "FAIL: the scope does not show 1 kHz on CH1 and 5 kHz on CH2"; fail=1; }
for png in $(grep -ho '[A-Za-z0-9_./-]*\.png' "$BLOCKS"/*.sh | sort -u); do
  if [ "$(head -c 8 "$png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
    echo "FAIL: $png is not a PNG picture"
    fail=1
  fi
done

if [ -n "$bg" ]; then
  kill -INT -- "-$bg" 2>/dev/null
  for _ in $(seq 150); do alive "$bg" || break; sleep 0.1; done
  if alive "$bg"; then
    echo "FAIL: Ctrl-C did not end the instrument"
    fail=1
  else
    wait "$bg"
    code=$?
    [ $code = 0 ] || { echo "FAIL: the instrument ended with status $code after Ctrl-C"; fail=1; }
  fi
  if [ $fail != 0 ]; then
    echo "--- instrument log (last lines)"
    tail -30 /tmp/instrument.log
  fi
fi
[ $fail = 0 ] && echo "=== $MODE: ok"
exit $fail
