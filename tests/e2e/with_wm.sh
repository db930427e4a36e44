#!/usr/bin/env bash
# Runs a command with a window manager on the current display: full screen and
# focus on a real desktop are the window manager's work, Xvfb alone has none.
set -uo pipefail
# A generous bound: on a loaded machine the window manager can take seconds to
# come up, and now and then it quits at once; then it is started again.
ready=0
for _attempt in 1 2 3; do
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 600); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && { ready=1; break; }
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.1
  done
  [ "$ready" = 1 ] && break
  kill "$wm" 2>/dev/null
  wait "$wm" 2>/dev/null
  sleep 1
done
if [ "$ready" != 1 ]; then
  echo "with_wm: the window manager did not start" >&2
  kill "$wm" 2>/dev/null
  exit 1
fi
"$@"
rc=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $rc
