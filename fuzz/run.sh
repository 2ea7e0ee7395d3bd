#!/bin/bash
# Builds the SCPI input fuzz target with clang (libFuzzer + AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs it for the given number of seconds
# (default 60) from the seed corpus in fuzz/corpus. Exits non-zero when the
# build fails or the fuzzer finds a crash, a hang or a broken state; the
# failing input is left in the build folder's artifacts/.
#
#   bash fuzz/run.sh [seconds]
#
# Needs the Debian packages clang and libclang-rt-14-dev (libFuzzer).
set -euo pipefail

SECONDS_TO_RUN="${1:-60}"
HERE="$(cd "$(dirname "$0")" && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$HERE/../build-fuzz}"

CXX="${FUZZ_CXX:-clang++}"
GENERATOR=()
command -v ninja >/dev/null && GENERATOR=(-G Ninja)

cmake -S "$HERE" -B "$BUILD" "${GENERATOR[@]}" -DCMAKE_CXX_COMPILER="$CXX" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target scpi_input_fuzzer arbfile_parse_fuzzer -j 2

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
echo "fuzz: no crash, hang or broken state found"

# The wave and list file parsers, bounded separately (ARB_FUZZ_SECONDS,
# default 30).
ARB_SECONDS="${ARB_FUZZ_SECONDS:-30}"
ARB_WORK="$(mktemp -d)"
trap 'rm -rf "$WORK" "$ARB_WORK"' EXIT
echo "fuzzing the wave and list file parsers for ${ARB_SECONDS}s"
set +e
"$BUILD/arbfile_parse_fuzzer" \
    -max_total_time="$ARB_SECONDS" \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -max_len=4096 \
    -dict="$HERE/arbfile.dict" \
    -print_final_stats=1 \
    -artifact_prefix="$BUILD/artifacts/" \
    "$ARB_WORK" "$HERE/corpus_arbfile" 2>&1 | tee "$BUILD/last-run-arbfile.log" | grep -E "^(#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)"
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    echo "fuzz: file parsers FAILED (exit $status), see $BUILD/last-run-arbfile.log and $BUILD/artifacts/"
    exit "$status"
fi
echo "fuzz: file parsers: no crash, hang or broken promise found"
