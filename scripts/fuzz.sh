#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a while, one after another.
#   scripts/fuzz.sh [SECONDS] [BUILD_DIR] [HARNESS...]   (default 600 s each, build/fuzz, all)
# Harnesses: token par mdl geo scn x_check bmp jpeg png wav settings language serial flight.
# Extra libFuzzer options go in FUZZ_OPTIONS (e.g. FUZZ_OPTIONS=-runs=1000000).
# Each input may take 1 s, 256 MB in one allocation and 512 MB in all; a reader
# that would need more must refuse the input first.
# New inputs collect in BUILD_DIR/corpus-NAME; the seeds in tests/fuzz/corpus/NAME
# are only read. Crashes are written as BUILD_DIR/NAME-crash-*: copy each into
# tests/fuzz/corpus/NAME and add a unit case for it.
set -euo pipefail

SECONDS_TO_RUN=${1:-600}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${2:-$ROOT/build/fuzz}
shift $(( $# < 2 ? $# : 2 ))
ALL=(token par mdl geo scn x_check bmp jpeg png wav settings language serial flight)
HARNESSES=("$@")
if [ ${#HARNESSES[@]} -eq 0 ]; then HARNESSES=("${ALL[@]}"); fi

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
cmake -S "$ROOT/tests/fuzz" -B "$BUILD" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
targets=()
for h in "${HARNESSES[@]}"; do targets+=("${h}_fuzzer"); done
cmake --build "$BUILD" -j2 --target "${targets[@]}" >/dev/null

# A smaller quarantine: freed picture buffers would otherwise count against the RSS bound.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=64}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$BUILD"
status=0
for h in "${HARNESSES[@]}"; do
  dict=$ROOT/tests/fuzz/$h.dict
  case $h in
    mdl) dict=$ROOT/tests/fuzz/geo.dict ;;
    x_check) dict=$ROOT/tests/fuzz/x.dict ;;
  esac
  max_len=8192
  case $h in
    scn|jpeg|language) max_len=16384 ;;
  esac
  # The shipped .x model is larger than the cut; it still seeds the start.
  corpus=$h
  if [ "$h" = x_check ]; then corpus=x; fi
  seeds=("$ROOT/tests/fuzz/corpus/$corpus")
  if [ "$h" = x_check ] && [ -d /usr/share/assimp/models/X ]; then seeds+=(/usr/share/assimp/models/X); fi
  mkdir -p "$BUILD/corpus-$h"
  args=("$BUILD/corpus-$h" "${seeds[@]}" -max_len=$max_len -timeout=1 -rss_limit_mb=512
        -malloc_limit_mb=256 -max_total_time="$SECONDS_TO_RUN" -print_final_stats=1
        -artifact_prefix="$BUILD/$h-")
  if [ -f "$dict" ]; then args+=(-dict="$dict"); fi
  echo "fuzz: $h for $SECONDS_TO_RUN s" >&2
  # shellcheck disable=SC2086
  if ! "./${h}_fuzzer" "${args[@]}" ${FUZZ_OPTIONS:-}; then
    echo "fuzz: $h FAILED (see $BUILD/$h-*)" >&2
    status=1
  fi
done
exit $status
