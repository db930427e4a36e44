#!/usr/bin/env bash
# Renders the open dialog's preview pictures of every shipped model and
# landscape with the program itself, under a private virtual X server, into
# data/ (or the folder given as the first argument).
#   tools/content/render_previews.sh [OUTPUT_DATA_DIR] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/data}
build=${2:-$root/build/previews-render}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target veltrane -j2 >/dev/null
program="$build/bin/veltrane"

# Fresh settings, so the landscape views show the default model at its start.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT

render_all() {
  mkdir -p "$out/Model" "$out/Landscape"
  for f in "$root"/data/Model/*.par "$root"/data/Model/*.mdl; do
    [ -e "$f" ] || continue
    name=$(basename "${f%.*}")
    echo "model $name"
    "$program" --config-dir "$config" --model "$f" --preview "$out/Model/${name}_prv.jpg" --frames 2
  done
  for f in "$root"/data/Landscape/*.scn; do
    [ -e "$f" ] || continue
    name=$(basename "${f%.*}")
    echo "landscape $name"
    # A second of flight time lets the model settle on its wheels.
    "$program" --config-dir "$config" --landscape "$f" --preview "$out/Landscape/${name}_prv.jpg" \
      --frames 60
  done
}
export -f render_all
export root out program config
"$root/tests/platform/with_xvfb.sh" bash -c render_all
