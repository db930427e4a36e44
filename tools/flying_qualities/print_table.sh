#!/usr/bin/env bash
# Prints the flying-qualities table of every shipped model (Markdown), or of the
# models named, e.g. Model/glider.par.
#   tools/flying_qualities/print_table.sh [BUILD_DIR] [Model/FILE ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/flying-qualities}
shift || true
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target veltrane-flying-qualities -j2 >/dev/null
exec "$build/tools/flying_qualities/veltrane-flying-qualities" "$root/data" "$@"
