#!/usr/bin/env bash
# Flies every shipped model for MINUTES simulated minutes of random stick input
# and random launches through veltrane-tool fly, over the shipped landscape.
#   scripts/soak.sh MINUTES [TOOL] [SEED]
# Fails on a crash of the tool, a NaN or infinity in any telemetry row, or a
# peak memory at the end more than 20 % (and 16 MB) above the one after the
# first minute. Prints one line per model: peak RSS at 1 min and at the end.
set -euo pipefail
# Sanitizer builds: a small quarantine, so freed memory does not read as growth.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=8}

MINUTES=${1:?minutes}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TOOL=${2:-$ROOT/build/asan/tools/veltrane_tool/veltrane-tool}
SEED=${3:-16}
DATA=$ROOT/data
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Random stick every 0.5 s, a random launch every 20 to 80 s; the flight
# restarts by itself after a crash.
make_script() {
  awk -v seconds="$1" -v seed="$2" 'BEGIN {
    srand(seed);
    print "0 autoinit on";
    print "0 set throttle 1";
    print "0.1 handstart";
    next_launch = 20 + rand() * 60;
    for (t = 0.5; t < seconds; t += 0.5) {
      f = int(rand() * 8);
      printf "%.1f set %d %.3f\n", t, f, rand() * 2 - 1;
      if (t >= next_launch) {
        r = rand();
        print t, (r < 0.4 ? "handstart" : r < 0.7 ? "winch" : r < 0.9 ? "restart" : "init");
        next_launch = t + 20 + rand() * 60;
      }
    }
  }'
}

peak_kb() { awk '/Maximum resident set size/ { print $NF }' "$1"; }

status=0
for model in "$DATA/Model/su-26.geo" "$DATA/Model/glider.geo" "$DATA/Model/heli.geo" \
             "$DATA/Model/parkflyer.x" "$DATA/Model/trainer.mdl"; do
  name=$(basename "$model")
  declare -A rss=()
  for span in 60 $((MINUTES * 60)); do
    make_script "$span" "$SEED" > "$WORK/script.txt"
    if ! /usr/bin/time -v "$TOOL" fly --model "$model" --landscape "$DATA/Landscape/world.scn" \
         --script "$WORK/script.txt" --duration "$span" --csv "$WORK/fly.csv" \
         > "$WORK/summary.json" 2> "$WORK/time.txt"; then
      echo "soak: $name: the tool failed after $span s:" >&2
      tail -5 "$WORK/time.txt" >&2
      status=1
      continue 2
    fi
    rss[$span]=$(peak_kb "$WORK/time.txt")
    if tail -n +2 "$WORK/fly.csv" | grep -qiE '(^|,)[-+]?(nan|inf)'; then
      echo "soak: $name: NaN or infinity in the telemetry of $span s" >&2
      status=1
    fi
    rows=$(($(wc -l < "$WORK/fly.csv") - 1))
  done
  first=${rss[60]}; last=${rss[$((MINUTES * 60))]}
  echo "soak: $name: $rows rows, peak RSS ${first} kB at 1 min, ${last} kB at $MINUTES min"
  if [ "$last" -gt $(( first + first / 5 + 16384 )) ]; then
    echo "soak: $name: memory grows" >&2
    status=1
  fi
  unset rss
done
exit $status
