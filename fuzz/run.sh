#!/bin/bash
# Builds the fuzz targets with clang (libFuzzer + AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds
# (default 60): the SCPI input from the seed corpus in fuzz/corpus, then the
# calibration text parser from fuzz/corpus_cal. Exits non-zero when the build
# fails or a fuzzer finds a crash, a hang or a broken state; the failing
# input is left in the build folder's artifacts/.
#
#   bash fuzz/run.sh [seconds]
#
# Needs the Debian packages clang and libclang-rt-14-dev (libFuzzer).
set -euo pipefail

SECONDS_TO_RUN="${1:-${FUZZ_SECONDS:-60}}"
HERE="$(cd "$(dirname "$0")" && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$HERE/../build-fuzz}"

CXX="${FUZZ_CXX:-clang++}"
GENERATOR=()
command -v ninja >/dev/null && GENERATOR=(-G Ninja)

cmake -S "$HERE" -B "$BUILD" "${GENERATOR[@]}" -DCMAKE_CXX_COMPILER="$CXX" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target scpi_input_fuzzer calfile_fuzzer -j 2

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$BUILD/artifacts"

echo "fuzzing SCPI_Input for ${SECONDS_TO_RUN}s"
set +e
"$BUILD/scpi_input_fuzzer" \
    -max_total_time="$SECONDS_TO_RUN" \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -max_len=512 \
    -len_control=0 \
    -dict="$HERE/scpi.dict" \
    -print_final_stats=1 \
    -artifact_prefix="$BUILD/artifacts/" \
    "$WORK" "$HERE/corpus" 2>&1 | tee "$BUILD/last-run.log" | grep -E "^(#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written|interpreter broken)"
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    echo "fuzz: FAILED (exit $status), see $BUILD/last-run.log and $BUILD/artifacts/"
    exit "$status"
fi

# Calibration texts: inputs up to 64 KiB, so that curves of thousands of
# points are reached.
CALWORK="$(mktemp -d)"
trap 'rm -rf "$WORK" "$CALWORK"' EXIT
echo "fuzzing the calibration text parser for ${SECONDS_TO_RUN}s"
set +e
"$BUILD/calfile_fuzzer" \
    -max_total_time="$SECONDS_TO_RUN" \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -max_len=65536 \
    -dict="$HERE/cal.dict" \
    -print_final_stats=1 \
    -artifact_prefix="$BUILD/artifacts/" \
    "$CALWORK" "$HERE/corpus_cal" 2>&1 | tee "$BUILD/last-run-cal.log" | grep -E "^(#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written|calibration tables broken)"
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    echo "fuzz: calibration parser FAILED (exit $status), see $BUILD/last-run-cal.log and $BUILD/artifacts/"
    exit "$status"
fi
echo "fuzz: no crash, hang or broken state found"
