#!/usr/bin/env bash
# The default scene of this program beside the default scene of the peer, the
# Debian model flight simulator "crrcsim" (when installed; nothing is installed
# here), each from its pilot's place in a 640 x 480 window (the size the peer
# opens), on a virtual X server with Mesa's software rasteriser.
#
#   tools/compare/peer_side_by_side.sh PROGRAM OUT.png
set -euo pipefail
program=$(readlink -f "${1:?usage: peer_side_by_side.sh PROGRAM OUT.png}")
out=${2:?usage: peer_side_by_side.sh PROGRAM OUT.png}
peer=${PEER:-$(command -v crrcsim || echo /usr/games/crrcsim)}
[ -x "$peer" ] || { echo "peer_side_by_side: the peer (crrcsim) is not installed" >&2; exit 1; }
here=$(dirname "$(readlink -f "$0")")
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")" LIBGL_ALWAYS_SOFTWARE=1

# This program: its screenshot after three seconds of standing still, without
# the first-flight hint.
mkdir -p "$work/cfg/veltrane"
printf '[MainForm]\nWidth=640\nHeight=480\nFirstFlightHelpShown=1\n' >"$work/cfg/veltrane/settings.ini"
XDG_CONFIG_HOME="$work/cfg" "$program" --screenshot "$work/program.png" --frames 90 >/dev/null 2>&1

# The peer: its window dumped after eight seconds, with a fresh home of its own.
mkdir -p "$work/home"
HOME="$work/home" "$peer" -s off >"$work/peer.log" 2>&1 &
pid=$!
pids+=($pid)
sleep 8
win=$(xdotool search --onlyvisible --pid "$pid" | head -1)
[ -n "$win" ] || { echo "peer_side_by_side: the peer opened no window" >&2; cat "$work/peer.log" >&2; exit 1; }
xwd -id "$win" -silent >"$work/peer.xwd"
python3 "$here/side_by_side.py" "$work/program.png" "$work/peer.xwd" "$out" \
  "Veltrane, default scene" "The peer (crrcsim), default scene"
echo "peer_side_by_side: wrote $out"
