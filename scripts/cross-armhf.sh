#!/bin/bash
# Builds for the instrument's board, a 32-bit ARM Linux board with hard-float
# (Debian's armhf), and checks that build where it matters: the stored record,
# its CRC and persistence, the register programming, the channel
# characteristics, the wave tables and the SCPI parser with the command table
# run under qemu user-mode emulation, and a record saved by the desktop build
# must load in the board build and come back byte for byte.
#
# The build is lean on purpose: the core libraries and those test programs,
# not the screens. Installs its own packages (Debian multiarch), builds into
# build-armhf with ccache when it is set up, prints the time of each stage.
#
#   bash scripts/cross-armhf.sh
#   HOST_BUILD=build BUILD_DIR=build-armhf JOBS=2 EXTRA_TARGETS= bash scripts/cross-armhf.sh
set -e -o pipefail
cd "$(dirname "$0")/.."
SRC=$PWD
BUILD_DIR=${BUILD_DIR:-build-armhf}
HOST_BUILD=${HOST_BUILD:-build}
JOBS=${JOBS:-2}
# The test programs built and run for the board.
TESTS=(record persistence regs chchar wavetables scpi)

declare -a TIMES
stage_start() { STAGE=$1; T0=$(date +%s); echo "== $STAGE"; }
stage_end() { TIMES+=("$(printf '%-28s %4ss' "$STAGE" $(( $(date +%s) - T0 )))"); }

# 1. Packages: the cross compiler, the emulator and the armhf libraries the
# core links, installed beside the desktop's by Debian multiarch.
stage_start "packages"
PACKAGES=(
  crossbuild-essential-armhf qemu-user-static
  qtbase5-dev:armhf qtdeclarative5-dev:armhf libgtest-dev:armhf
  liblzo2-dev:armhf libtirpc-dev:armhf libmicrohttpd-dev:armhf libavahi-client-dev:armhf zlib1g-dev:armhf
)
if ! dpkg --print-foreign-architectures | grep -qx armhf; then
  dpkg --add-architecture armhf
  NEED_UPDATE=1
fi
. scripts/apt-missing.sh
install_missing --no-install-recommends -- "${PACKAGES[@]}"
# A newly added architecture needs the package lists even when nothing was missing.
if [ -n "$NEED_UPDATE" ] && [ -z "$APT_UPDATED" ]; then apt-get update -qq; fi
stage_end

# 2. The desktop side of the record exchange: the desktop's persistence test
# program and its build identity. A stored record carries the build's time
# stamp and is refused by any other build, so the board's build takes the
# desktop's: one build of the sources for two machines.
stage_start "desktop persistence test"
if [ ! -f "$HOST_BUILD/build.ninja" ]; then
  cmake -S . -B "$HOST_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
ninja -C "$HOST_BUILD" -j"$JOBS" test_persistence
BUILD_TIME=$(sed -n 's/^#define ORNAV_BUILD_TIME "\(.*\)"$/\1/p' "$HOST_BUILD/generated/buildinfo.h")
[ -n "$BUILD_TIME" ] || { echo "no build time in $HOST_BUILD/generated/buildinfo.h" >&2; exit 1; }
stage_end

# 3. The board's build: the layers below the screens and the test programs,
# with the desktop's warnings (-Wall -Wextra); no debug information, which
# only slows the build and the emulator's start.
stage_start "configure armhf"
cmake -S . -B "$BUILD_DIR" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$SRC/cmake/armhf-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DORNAV_BUILD_TIME="$BUILD_TIME" >/dev/null
stage_end

stage_start "build armhf"
# Warnings are printed in full; the rest of the log goes to a file.
# EXTRA_TARGETS adds targets, e.g. "ornav72 ornav-sim" (the screens too).
ninja -C "$BUILD_DIR" -j"$JOBS" "${TESTS[@]/#/test_}" $EXTRA_TARGETS >"$BUILD_DIR/build.log" 2>&1 ||
  { tail -n 60 "$BUILD_DIR/build.log"; exit 1; }
grep -A4 -E 'warning:' "$BUILD_DIR/build.log" || true
echo "$(grep -c 'warning:' "$BUILD_DIR/build.log" || true) warnings"
stage_end

# 4. The board's test programs under qemu's user-mode emulation. The
# multiarch root (/) holds the board's loader and libraries.
stage_start "qemu tests"
QEMU=(qemu-arm-static -L /)
export QT_QPA_PLATFORM=offscreen ORNAV_BIN_DIR="$SRC/$BUILD_DIR" ORNAV_SOURCE_DIR="$SRC"
status=0
for t in "${TESTS[@]}"; do
  t0=$(date +%s)
  if "${QEMU[@]}" "$BUILD_DIR/tests/test_$t" --gtest_brief=1 >"$BUILD_DIR/test_$t.log" 2>&1; then
    echo "test_$t: passed ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$BUILD_DIR/test_$t.log" | head -1), $(( $(date +%s) - t0 ))s)"
  else
    echo "test_$t: FAILED, log follows"; cat "$BUILD_DIR/test_$t.log"; status=1
  fi
done
stage_end

# 5. A record saved by the desktop build, loaded by the board's build and
# saved back: byte for byte the same.
stage_start "record exchange"
X=$(mktemp -d)
ORNAV_RECORD_OUT=$X/desktop.bin "$HOST_BUILD/tests/test_persistence" \
  --gtest_filter='*RecordOfAnotherBuild*' --gtest_brief=1 || status=1
ORNAV_RECORD_IN=$X/desktop.bin ORNAV_RECORD_OUT=$X/board.bin "${QEMU[@]}" "$BUILD_DIR/tests/test_persistence" \
  --gtest_filter='*RecordOfAnotherBuild*' --gtest_brief=1 || status=1
if [ -s "$X/desktop.bin" ] && cmp "$X/desktop.bin" "$X/board.bin"; then
  echo "record: the desktop's $(stat -c %s "$X/desktop.bin") bytes came back from the board's build unchanged"
else
  echo "record: the board's build did not send the desktop's record back unchanged"; status=1
fi
rm -rf "$X"
stage_end

printf '%s\n' "${TIMES[@]}"
exit $status
