#!/usr/bin/env bash
# Runs a command under a virtual X server of its own, so GL tests need nothing
# running. Xvfb picks a free display number itself (-displayfd), so parallel
# test runs do not collide.
set -uo pipefail
if ! command -v Xvfb >/dev/null; then
  echo "with_xvfb: Xvfb is not installed" >&2
  exit 1
fi
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/log" &
xpid=$!
# A loaded machine can take many seconds to bring the server up.
for _ in $(seq 1200); do
  [ -s "$tmp/display" ] && break
  sleep 0.05
done
if [ ! -s "$tmp/display" ]; then
  echo "with_xvfb: Xvfb did not start" >&2
  cat "$tmp/log" >&2
  kill "$xpid" 2>/dev/null
  rm -rf "$tmp"
  exit 1
fi
export DISPLAY=":$(tr -d '[:space:]' <"$tmp/display")"
"$@"
rc=$?
kill "$xpid" 2>/dev/null
wait "$xpid" 2>/dev/null
rm -rf "$tmp"
exit $rc
