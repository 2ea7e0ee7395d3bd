#!/bin/bash
# Configures and builds the program, the tools, the tests and the benchmarks.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# ORNAV_WERROR=ON (set by scripts/test.sh, so in CI) makes warnings errors.
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORNAV_WERROR="${ORNAV_WERROR:-OFF}"
ninja -C "$BUILD_DIR" -j"$(nproc)"
