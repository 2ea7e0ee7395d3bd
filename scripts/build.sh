#!/bin/bash
# Configures and builds the program, the tools, the tests and the benchmarks.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
ninja -C "$BUILD_DIR" -j"$(nproc)"
