#!/usr/bin/env bash
# Installs the packages, builds the program and starts it with the default model
# and landscape. Extra arguments go to the program (see --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${VELTRANE_BUILD:-build/release}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELTRANE_BUILD_TESTS=OFF -DVELTRANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target veltrane -j"$(nproc)"
exec "$build/bin/veltrane" "$@"
