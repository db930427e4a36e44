#!/usr/bin/env bash
# Builds the Debian package of a release build: build/package/veltrane_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${VELTRANE_PACKAGE_BUILD:-build/package}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELTRANE_BUILD_TESTS=OFF -DVELTRANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G DEB)
ls "$build"/veltrane_*.deb
