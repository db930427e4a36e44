#!/usr/bin/env bash
# Frame rate, time to the first scene, peak memory and CPU of the program on
# its default model and landscape, standing at the pilot position, under X
# servers of its own (Mesa's software rasteriser); the same for the peer, the
# Debian model flight simulator "crrcsim" on its default scene, when it is
# installed (PEER=path overrides where; nothing is installed here).
# Prints one JSON line per figure on stdout; "program" says whose.
#
#   bench/measure_program.sh PROGRAM [SECONDS_PER_SIZE] [START_RUNS]
#
# Frame rate: Mesa's GALLIUM_HUD=fps dump, averaged over SECONDS_PER_SIZE
# (default 15) after a 2 s warm-up, in a 640x480 and a 1024x768 window; for
# the program also on the largest slope site ("program_slope"; SLOPE_SITE=path
# names another landscape file).
# Peak memory (VmHWM) and CPU (user + system of all threads, of 200 % on two
# cores) are read from /proc over the same runs.
# First scene, from outside (bench/first_scene.py): on an X server without a
# window manager the process is started and its window dumped with xwd every
# 20 ms; the time is taken at the first picture that shows the landscape
# (spread of pixel values > 0.05, mean green > 0.4), and the peak memory 3 s
# later. START_RUNS (default 5) runs per size, the two programs taking turns,
# medians; the load average before and after is printed with them, since
# other work on the machine moves these figures.
# Our own view of the start: from the start of the process to the moment its
# first frame is on disk (--screenshot --frames 1), and in a normal window the
# "Startup first scene frame" trace line, medians of START_RUNS runs.
set -uo pipefail

program=${1:?usage: measure_program.sh PROGRAM [SECONDS_PER_SIZE] [START_RUNS]}
seconds=${2:-15}
runs=${3:-5}
program=$(readlink -f "$program")
[ -x "$program" ] || { echo "measure_program: $program is not a program" >&2; exit 1; }
for tool in Xvfb openbox xprop xdotool xwd python3; do
  command -v "$tool" >/dev/null || { echo "measure_program: $tool is not installed" >&2; exit 1; }
done
here=$(dirname "$(readlink -f "$0")")
peer=${PEER:-$(command -v crrcsim || echo /usr/games/crrcsim)}
[ -x "$peer" ] || peer=""
[ -n "$peer" ] || echo "measure_program: the peer (crrcsim) is not installed; measuring the program alone" >&2

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "measure_program: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
# A second server without a window manager for the outside start measurement.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display_bare" 2>"$work/xvfb_bare.log" &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display_bare" ] && break; sleep 0.05; done
[ -s "$work/display_bare" ] || { echo "measure_program: the second Xvfb did not start" >&2; exit 1; }
bare=":$(tr -d '[:space:]' <"$work/display_bare")"
# The window needs the focus, or the program idles instead of ticking.
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe

clk=$(getconf CLK_TCK)

# config DIR WIDTH HEIGHT [LANDSCAPE]: a fresh settings file for one window
# size, on the default landscape or the one named.
config() {
  mkdir -p "$1/veltrane"
  printf '[MainForm]\nWidth=%s\nHeight=%s\ndoWaitVBlank=0\nFPS=0\n' "$2" "$3" >"$1/veltrane/settings.ini"
  [ -z "${4:-}" ] || printf 'sLandFileName=%s\n' "$4" >>"$1/veltrane/settings.ini"
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }

# run_as WHO WIDTH HEIGHT: the command line that starts WHO (program or peer)
# in a window of that size, each with a fresh configuration of its own.
run_as() {
  local who=$1 w=$2 h=$3 dir="$work/cfg_$1_$2x$3"
  if [ "$who" != peer ]; then
    local land=""
    [ "$who" = program_slope ] && land=$slope_site
    config "$dir" "$w" "$h" "$land"
    echo env "XDG_CONFIG_HOME=$dir" "$program"
  else
    mkdir -p "$dir"
    echo env "HOME=$dir" "$peer" -x "$w" -y "$h"
  fi
}

whos=(program)
[ -n "$peer" ] && whos+=(peer)
starters=("${whos[@]}")
# The largest slope site, with its wind: the frame rate must hold there too.
slope_site=${SLOPE_SITE:-$(dirname "$program")/Landscape/ridge.scn}
if [ -f "$slope_site" ]; then
  whos+=(program_slope)
else
  echo "measure_program: no slope site at $slope_site; measuring the default scene only" >&2
fi

for who in "${whos[@]}"; do
for size in 640x480 1024x768; do
  w=${size%x*}
  h=${size#*x}
  hud="$work/hud_${who}_$size"
  mkdir -p "$hud"
  # shellcheck disable=SC2046
  GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=0.5 GALLIUM_HUD_DUMP_DIR="$hud" \
    $(run_as "$who" "$w" "$h") >"$work/out_${who}_$size.log" 2>&1 &
  pid=$!
  sleep 2
  # The size the window really has: the peer keeps its configured window
  # size whatever it is asked for.
  actual=$(for win in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    xdotool getwindowgeometry "$win" | awk '/Geometry:/ { split($2, g, "x"); print g[1] * g[2], $2 }'
  done | sort -n | tail -1 | cut -d' ' -f2)
  t0=$(date +%s.%N)
  c0=$(cpu_ticks "$pid")
  : >"$hud/fps.mark"
  [ -f "$hud/fps" ] && wc -l <"$hud/fps" >"$hud/fps.mark"
  sleep "$seconds"
  c1=$(cpu_ticks "$pid")
  t1=$(date +%s.%N)
  rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null)
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  skip=$(cat "$hud/fps.mark" 2>/dev/null)
  if [ -s "$hud/fps" ]; then
    tail -n +"$(( ${skip:-0} + 1 ))" "$hud/fps" | awk -v who="$who" -v w="$w" -v h="$h" -v s="$seconds" -v actual="${actual:-unknown}" '
      NR == 1 { lo = $1; hi = $1 }
      { sum += $1; if ($1 < lo) lo = $1; if ($1 > hi) hi = $1 }
      END {
        if (NR == 0) exit 1
        printf "{\"program\":\"%s\",\"figure\":\"frame_rate\",\"window\":\"%sx%s\",\"window_actual\":\"%s\",\"fps_mean\":%.1f,\"fps_min\":%.1f,\"fps_max\":%.1f,\"samples\":%d,\"seconds\":%s}\n", who, w, h, actual, sum / NR, lo, hi, NR, s
      }'
  else
    echo "measure_program: no frame rate dump for $who $size (see $work/out_${who}_$size.log)" >&2
    cat "$work/out_${who}_$size.log" >&2
  fi
  awk -v who="$who" -v w="$w" -v h="$h" -v a="$c0" -v b="$c1" -v t0="$t0" -v t1="$t1" -v k="$clk" 'BEGIN {
    printf "{\"program\":\"%s\",\"figure\":\"cpu\",\"window\":\"%sx%s\",\"percent_of_200\":%.0f}\n", who, w, h, 100 * (b - a) / k / (t1 - t0) }'
  echo "{\"program\":\"$who\",\"figure\":\"peak_rss\",\"window\":\"${w}x${h}\",\"MB\":$(awk -v r="${rss:-0}" 'BEGIN{printf "%.1f", r / 1024}')}"
done
done

# The first scene from outside, on the server without a window manager; the
# programs take turns so that both see the same load.
load() { cut -d' ' -f1-3 /proc/loadavg | tr ' ' ','; }
load_before=$(load)
for size in 640x480 1024x768; do
  w=${size%x*}
  h=${size#*x}
  for i in $(seq "$runs"); do
    for who in "${starters[@]}"; do
      # shellcheck disable=SC2046
      r=$(DISPLAY="$bare" python3 "$here/first_scene.py" --timeout 30 --hold 3 -- $(run_as "$who" "$w" "$h"))
      echo "$who $r" >>"$work/outside_$size"
    done
  done
  for who in "${starters[@]}"; do
    grep "^$who " "$work/outside_$size" | sed 's/.*"first_scene_ms": *\([0-9a-z]*\).*"peak_rss_MB": *\([0-9.a-z]*\).*/\1 \2/' |
      awk -v who="$who" -v size="$size" -v lb="$load_before" -v la="$(load)" '
        function median(a, n,   i, j, t) {
          for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j - 1] > a[j]; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
          return n ? (n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2) : -1
        }
        $1 != "null" { ms[++n] = $1; all = all (all ? "," : "") $1 }
        $2 != "null" { mb[++m] = $2 }
        END {
          printf "{\"program\":\"%s\",\"figure\":\"first_scene_outside\",\"window\":\"%s\",\"ms_median\":%d,\"ms_all\":[%s],\"peak_rss_MB_median\":%.1f,\"runs\":%d,\"load_before\":[%s],\"load_after\":[%s]}\n", who, size, median(ms, n), all, median(mb, m), NR, lb, la
        }'
  done
done

# Time to the first scene frame.
cfg="$work/cfg_start"
config "$cfg" 640 480
times=()
for i in $(seq "$runs"); do
  shot="$work/first_$i.png"
  t0=$(date +%s%N)
  XDG_CONFIG_HOME="$cfg" "$program" --screenshot "$shot" --frames 1 >"$work/start.log" 2>&1 &
  pid=$!
  until [ -s "$shot" ] || ! kill -0 "$pid" 2>/dev/null; do sleep 0.002; done
  t1=$(date +%s%N)
  wait "$pid"
  rc=$?
  if [ "$rc" -ne 0 ] || [ ! -s "$shot" ]; then
    echo "measure_program: the program did not write its first frame" >&2
    cat "$work/start.log" >&2
    exit 1
  fi
  times+=($(( (t1 - t0) / 1000000 )))
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END {
  printf "{\"program\":\"program\",\"figure\":\"first_scene_frame\",\"ms_median\":%d,\"ms_min\":%d,\"ms_max\":%d,\"runs\":%d}\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'

# The same in a normal window: the program's own trace line for its first
# scene frame on the screen, counted from the start of the process.
times=()
for i in $(seq "$runs"); do
  trace="$work/trace_$i.txt"
  XDG_CONFIG_HOME="$cfg" "$program" --trace "$trace" >"$work/start.log" 2>&1 &
  pid=$!
  line=""
  for _ in $(seq 400); do
    line=$(grep -a -m1 '^Startup first scene frame:' "$trace" 2>/dev/null)
    [ -n "$line" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.025
  done
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  ms=$(printf '%s' "$line" | awk '{ print $(NF - 1) }')
  if [ -z "$ms" ]; then
    echo "measure_program: the windowed program traced no first scene frame" >&2
    cat "$work/start.log" >&2
    exit 1
  fi
  times+=("$ms")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END {
  printf "{\"program\":\"program\",\"figure\":\"first_scene_frame_windowed\",\"ms_median\":%d,\"ms_min\":%d,\"ms_max\":%d,\"runs\":%d}\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
