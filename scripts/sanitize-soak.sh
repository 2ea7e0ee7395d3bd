#!/bin/bash
# Short form of the table-walk soak under a sanitizer: builds only what the
# soak runs (the program, ornav-sim and scpi-doc, no tests) in a build folder
# of its own, then walks the command table for a few minutes in a private
# namespace. Exits non-zero on any sanitizer report, wrong reply, unexpected
# error code or crash.
#
#   bash scripts/sanitize-soak.sh [MINUTES]      (default 3)
#
# SANITIZER chooses the sanitizer: address (AddressSanitizer with
# UndefinedBehaviorSanitizer, the default) or thread (ThreadSanitizer; the
# reports listed in scripts/tsan.supp are suppressed, each with its reason).
# SANITIZE_BUILD_DIR chooses the build folder (default build-asan-soak or
# build-tsan); ccache is used when the environment names it
# (. /work/ccache.env).
set -e
cd "$(dirname "$0")/.."
MINUTES=${1:-3}
SANITIZER=${SANITIZER:-address}
case "$SANITIZER" in
  address) DEFAULT_DIR=build-asan-soak ;;
  thread)  DEFAULT_DIR=build-tsan
           # A longer history restores the earlier access's stack of more
           # reports (each thread keeps its last events only).
           export TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}second_deadline_for_exit=0:history_size=4:suppressions=$PWD/scripts/tsan.supp" ;;
  *) echo "sanitize-soak: SANITIZER must be address or thread" >&2; exit 2 ;;
esac
BUILD_DIR=${SANITIZE_BUILD_DIR:-$DEFAULT_DIR}
JOBS=${JOBS:-2}
start=$(date +%s)
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORNAV_SANITIZE="$SANITIZER" \
  -DORNAV_BUILD_TESTS=OFF ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} \
  ${CMAKE_C_COMPILER_LAUNCHER:+-DCMAKE_C_COMPILER_LAUNCHER=$CMAKE_C_COMPILER_LAUNCHER} >/dev/null
ninja -C "$BUILD_DIR" -j"$JOBS" ornav72 ornav-sim scpi-doc
echo "sanitize-soak: build took $(( $(date +%s) - start )) s"
QT_QPA_PLATFORM=offscreen bash scripts/isolated.sh /usr/bin/python3 bench/soak/soak.py "$BUILD_DIR" --walk \
  --minutes "$MINUTES"
