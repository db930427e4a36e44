#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs the .x check for a while.
#   scripts/fuzz.sh [SECONDS] [BUILD_DIR] [libFuzzer options...]   (default 600 s, build/fuzz)
#   FUZZ_TARGET=flight scripts/fuzz.sh ...   the recorded-flight reader instead
# Inputs are cut to 8 KB: small files reach the same code a thousand times faster.
# New inputs collect in BUILD_DIR/corpus-x; the seeds in tests/fuzz/corpus/x
# (and the importer's own sample files, where installed) are only read.
# Crashes are written as BUILD_DIR/crash-*: copy each into tests/fuzz/corpus/x
# and add a unit case for it.
set -euo pipefail

SECONDS_TO_RUN=${1:-600}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${2:-$ROOT/build/fuzz}
shift $(( $# < 2 ? $# : 2 ))

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
cmake -S "$ROOT/tests/fuzz" -B "$BUILD" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$BUILD" -j2 >/dev/null

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# FUZZ_TARGET=flight runs the recorded-flight reader instead of the .x check.
if [ "${FUZZ_TARGET:-x}" = flight ]; then
  mkdir -p "$BUILD/corpus-flight"
  cd "$BUILD"
  exec ./flight_reader_fuzzer "$BUILD/corpus-flight" "$ROOT/tests/fuzz/corpus/flight" \
    -max_len=8192 -timeout=20 -rss_limit_mb=2048 \
    -max_total_time="$SECONDS_TO_RUN" -print_final_stats=1 -artifact_prefix="$BUILD/" "$@"
fi

mkdir -p "$BUILD/corpus-x"
seeds=("$ROOT/tests/fuzz/corpus/x")
if [ -d /usr/share/assimp/models/X ]; then seeds+=(/usr/share/assimp/models/X); fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$BUILD"
exec ./x_check_fuzzer "$BUILD/corpus-x" "${seeds[@]}" \
  -dict="$ROOT/tests/fuzz/x.dict" -max_len=8192 -timeout=20 -rss_limit_mb=2048 \
  -max_total_time="$SECONDS_TO_RUN" -print_final_stats=1 -artifact_prefix="$BUILD/" "$@"
