#!/bin/bash
# Builds the SCPI input fuzz target with clang (libFuzzer + AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs it for the given number of seconds
# (default 60) from the seed corpus in fuzz/corpus. Exits non-zero when the
# build fails or the fuzzer finds a crash, a hang or a broken state; the
# failing input is left in the build folder's artifacts/.
#
#   bash fuzz/run.sh [seconds] [target]
#
# target: scpi_input_fuzzer (default; the interpreter over a test table) or
# scpi_table_fuzzer (the instrument's whole command table with a recorder of
# the controller requests; seeds also from fuzz/corpus_table).
#
# Needs the Debian packages clang and libclang-rt-14-dev (libFuzzer).
set -euo pipefail

SECONDS_TO_RUN="${1:-60}"
TARGET="${2:-scpi_input_fuzzer}"
HERE="$(cd "$(dirname "$0")" && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$HERE/../build-fuzz}"

CXX="${FUZZ_CXX:-clang++}"
GENERATOR=()
command -v ninja >/dev/null && GENERATOR=(-G Ninja)

cmake -S "$HERE" -B "$BUILD" "${GENERATOR[@]}" -DCMAKE_CXX_COMPILER="$CXX" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target "$TARGET" -j 2

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$BUILD/artifacts"

echo "fuzzing $TARGET for ${SECONDS_TO_RUN}s"
SEEDS=("$HERE/corpus")
[ "$TARGET" = scpi_table_fuzzer ] && SEEDS+=("$HERE/corpus_table")
set +e
"$BUILD/$TARGET" \
    -max_total_time="$SECONDS_TO_RUN" \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -max_len=512 \
    -len_control=0 \
    -dict="$HERE/scpi.dict" \
    -print_final_stats=1 \
    -artifact_prefix="$BUILD/artifacts/" \
    "$WORK" "${SEEDS[@]}" 2>&1 | tee "$BUILD/last-run.log" | grep -E "^(#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written|interpreter broken|bad request)"
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    echo "fuzz: FAILED (exit $status), see $BUILD/last-run.log and $BUILD/artifacts/"
    exit "$status"
fi
echo "fuzz: no crash, hang or broken state found"
