#!/usr/bin/env bash
# Frame rate, time to the first scene frame, peak memory and CPU of the program
# on its default model and landscape, standing at the pilot position, under an
# X server and window manager of its own (Mesa's software rasteriser).
# Prints one JSON line per figure on stdout.
#
#   bench/measure_program.sh PROGRAM [SECONDS_PER_SIZE] [START_RUNS]
#
# Frame rate: Mesa's GALLIUM_HUD=fps dump, averaged over SECONDS_PER_SIZE
# (default 15) after a 2 s warm-up, in a 640x480 and a 1024x768 window.
# Peak memory (VmHWM) and CPU (user + system of all threads, of 200 % on two
# cores) are read from /proc over the same runs. Time to the first scene frame:
# from the start of the process to the moment its first frame is on disk
# (--screenshot --frames 1), median of START_RUNS (default 5) runs; and in a
# normal window, the "Startup first scene frame" trace line of as many runs.
set -uo pipefail

program=${1:?usage: measure_program.sh PROGRAM [SECONDS_PER_SIZE] [START_RUNS]}
seconds=${2:-15}
runs=${3:-5}
program=$(readlink -f "$program")
[ -x "$program" ] || { echo "measure_program: $program is not a program" >&2; exit 1; }
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "measure_program: $tool is not installed" >&2; exit 1; }
done

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
# The window needs the focus, or the program idles instead of ticking.
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe

clk=$(getconf CLK_TCK)

# config DIR WIDTH HEIGHT: a fresh settings file for one window size.
config() {
  mkdir -p "$1/veltrane"
  printf '[MainForm]\nWidth=%s\nHeight=%s\ndoWaitVBlank=0\nFPS=0\n' "$2" "$3" >"$1/veltrane/settings.ini"
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }

for size in 640x480 1024x768; do
  w=${size%x*}
  h=${size#*x}
  cfg="$work/cfg_$size"
  hud="$work/hud_$size"
  config "$cfg" "$w" "$h"
  mkdir -p "$hud"
  XDG_CONFIG_HOME="$cfg" GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=0.5 GALLIUM_HUD_DUMP_DIR="$hud" \
    "$program" >"$work/out_$size.log" 2>&1 &
  pid=$!
  sleep 2
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
    tail -n +"$(( ${skip:-0} + 1 ))" "$hud/fps" | awk -v w="$w" -v h="$h" -v s="$seconds" '
      NR == 1 { lo = $1; hi = $1 }
      { sum += $1; if ($1 < lo) lo = $1; if ($1 > hi) hi = $1 }
      END {
        if (NR == 0) exit 1
        printf "{\"figure\":\"frame_rate\",\"window\":\"%sx%s\",\"fps_mean\":%.1f,\"fps_min\":%.1f,\"fps_max\":%.1f,\"samples\":%d,\"seconds\":%s}\n", w, h, sum / NR, lo, hi, NR, s
      }'
  else
    echo "measure_program: no frame rate dump for $size (see $work/out_$size.log)" >&2
    cat "$work/out_$size.log" >&2
  fi
  awk -v w="$w" -v h="$h" -v a="$c0" -v b="$c1" -v t0="$t0" -v t1="$t1" -v k="$clk" 'BEGIN {
    printf "{\"figure\":\"cpu\",\"window\":\"%sx%s\",\"percent_of_200\":%.0f}\n", w, h, 100 * (b - a) / k / (t1 - t0) }'
  echo "{\"figure\":\"peak_rss\",\"window\":\"${w}x${h}\",\"MB\":$(awk -v r="${rss:-0}" 'BEGIN{printf "%.1f", r / 1024}')}"
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
  printf "{\"figure\":\"first_scene_frame\",\"ms_median\":%d,\"ms_min\":%d,\"ms_max\":%d,\"runs\":%d}\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'

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
  printf "{\"figure\":\"first_scene_frame_windowed\",\"ms_median\":%d,\"ms_min\":%d,\"ms_max\":%d,\"runs\":%d}\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
