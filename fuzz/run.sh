#!/bin/bash
# Builds the fuzz targets with clang (libFuzzer + AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds
# (default 60, or FUZZ_SECONDS): the SCPI interpreter over a test table, the
# instrument's whole command table with a recorder of the controller
# requests, the calibration text parser and the wave and list file parsers. Exits non-zero when the build
# fails or a fuzzer finds a crash, a hang or a broken state; the failing
# input is left in the build folder's artifacts/.
#
#   bash fuzz/run.sh [seconds] [target]
#
# Needs the Debian packages clang and libclang-rt-14-dev (libFuzzer).
set -euo pipefail

SECONDS_TO_RUN="${1:-${FUZZ_SECONDS:-60}}"
ONLY="${2:-}"
HERE="$(cd "$(dirname "$0")" && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$HERE/../build-fuzz}"

CXX="${FUZZ_CXX:-clang++}"
GENERATOR=()
command -v ninja >/dev/null && GENERATOR=(-G Ninja)

# name, maximum input length, dictionary, seed folders
TARGETS=(
  "scpi_input_fuzzer 512 scpi.dict corpus"
  "scpi_table_fuzzer 512 scpi.dict corpus corpus_table"
  "calfile_fuzzer 65536 cal.dict corpus_cal"
  "arbfile_parse_fuzzer 4096 arbfile.dict corpus_arbfile"
)

names=()
for t in "${TARGETS[@]}"; do
  read -r name _ <<<"$t"
  [ -z "$ONLY" ] || [ "$ONLY" = "$name" ] && names+=("$name")
done
[ ${#names[@]} -gt 0 ] || { echo "fuzz: unknown target $ONLY"; exit 2; }

cmake -S "$HERE" -B "$BUILD" "${GENERATOR[@]}" -DCMAKE_CXX_COMPILER="$CXX" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target "${names[@]}" -j 2
mkdir -p "$BUILD/artifacts"

for t in "${TARGETS[@]}"; do
  read -r name maxlen dict seeds <<<"$t"
  [ -z "$ONLY" ] || [ "$ONLY" = "$name" ] || continue
  work="$(mktemp -d)"
  seedDirs=()
  for s in $seeds; do seedDirs+=("$HERE/$s"); done
  echo "fuzzing $name for ${SECONDS_TO_RUN}s"
  set +e
  "$BUILD/$name" \
      -max_total_time="$SECONDS_TO_RUN" \
      -timeout=10 \
      -rss_limit_mb=2048 \
      -max_len="$maxlen" \
      -dict="$HERE/$dict" \
      -print_final_stats=1 \
      -artifact_prefix="$BUILD/artifacts/" \
      "$work" "${seedDirs[@]}" 2>&1 | tee "$BUILD/last-run-$name.log" | grep -E "^(#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written|broken|bad request)"
  status=${PIPESTATUS[0]}
  set -e
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    echo "fuzz: $name FAILED (exit $status), see $BUILD/last-run-$name.log and $BUILD/artifacts/"
    exit "$status"
  fi
done
echo "fuzz: no crash, hang or broken state found"
