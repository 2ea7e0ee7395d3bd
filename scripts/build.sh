#!/bin/bash
# Configures and builds the program, the tools, the tests and the benchmarks.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# ORNAV_WERROR=ON (set by scripts/test.sh, so in CI) makes warnings errors.
# Unset, the build directory keeps what it was configured with: a second
# build (run-sim.sh, the README check) must not flip the flags and so rebuild
# everything under the tests that run from it.
werror=()
[ -n "${ORNAV_WERROR:-}" ] && werror=(-DORNAV_WERROR="$ORNAV_WERROR")
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}"
ninja -C "$BUILD_DIR" -j"$(nproc)"
