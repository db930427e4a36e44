#!/usr/bin/env bash
# Starts and closes the windowed program the ways a user's machine does, on the
# current X display (tests/platform/with_xvfb.sh tests/e2e/with_wm.sh ... for a
# virtual one):
#   scripts/starts.sh COUNT PROGRAM [SEED]
# COUNT starts, each ended by SIGTERM 0.2 to 5 s after it began: every exit is 0
# and leaves complete settings. Then a start after a SIGKILL, and starts with no
# audio device, a read-only settings folder, a data folder that is missing, and
# settings files that are truncated, binary garbage, 50 MB of junk or absurd
# values: none crashes, and a damaged file is named in one line on stderr and
# kept as settings.ini.bad.
set -uo pipefail

COUNT=${1:?count}
PROGRAM=${2:?program}
RANDOM=${3:-16}
WORK=$(mktemp -d)
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
export LIBGL_ALWAYS_SOFTWARE=1
# The sanitizers' leak report would only list the GL driver's allocations.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
failures=0
fail() { echo "starts: FAILED: $*" >&2; failures=$((failures + 1)); }

# Every value the main window stores at close.
MAIN_KEYS="MenuIsVisible SoundEin SoundVolume sModellFilename AutoZoom Zoom aZoom fZoom fNoZoom fFullZoom
fZoomSpeed AutoRestart AutoInit Nebel weicheTexturen Texturen doFullscreen DisplayWidth DisplayHeight
iDXDrawDriver BitCount doWaitVBlank doFlip Mipmapping Width Height FPS GeschwHoehe sLandFileName
Hinterherflug pStandort.fX pStandort.fY pStandort.fZ iLanguage"

complete_settings() {  # FILE: every main-window value and Running=0, nothing outside a section
  local f=$1 k
  [ -s "$f" ] || { echo "no settings"; return 1; }
  head -c1 "$f" | grep -q '\[' || { echo "a value before the first section"; return 1; }
  grep -qx 'Running=0' "$f" || { echo "Running=0 missing"; return 1; }
  for k in $MAIN_KEYS; do grep -q "^$k=" "$f" || { echo "$k missing"; return 1; }; done
}

# run NAME CONFIG SECONDS [env...]: starts the program, SIGTERMs it after SECONDS,
# and leaves its exit status in $rc (124: it did not end within 60 s).
run() {
  local name=$1 cfg=$2 secs=$3
  shift 3
  mkdir -p "$WORK/$name"
  env "$@" "$PROGRAM" --config-dir "$cfg" --trace "$WORK/$name/trace.txt" \
    >"$WORK/$name/stdout" 2>"$WORK/$name/stderr" &
  local pid=$!
  sleep "$secs"
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; wait "$pid" 2>/dev/null; rc=124; return; fi
  wait "$pid"
  rc=$?
}

cfg=$WORK/config
for i in $(seq "$COUNT"); do
  secs=$(printf '%d.%d' $((RANDOM % 5)) $((RANDOM % 10)))
  case $secs in 0.0|0.1) secs=0.2 ;; esac
  run "start$i" "$cfg" "$secs"
  [ "$rc" = 0 ] || fail "start $i closed after $secs s: exit $rc ($(tail -2 "$WORK/start$i/stderr" | tr '\n' ' '))"
  why=$(complete_settings "$cfg/settings.ini") || fail "start $i closed after $secs s: settings incomplete: $why"
done
echo "starts: $COUNT starts and closes done, $failures failed"

# A SIGKILL mid-run, then a normal start: it recovers and closes cleanly.
"$PROGRAM" --config-dir "$cfg" >/dev/null 2>&1 &
pid=$!; sleep 3; kill -KILL "$pid"; wait "$pid" 2>/dev/null
run after-kill "$cfg" 4
[ "$rc" = 0 ] || fail "start after SIGKILL: exit $rc"
grep -q "Running=0" "$cfg/settings.ini" || fail "start after SIGKILL: settings incomplete"
echo "starts: start after SIGKILL: exit $rc"

# No audio device: OpenAL finds no backend to open.
run no-audio "$WORK/cfg-audio" 3 ALSOFT_DRIVERS=no-such-backend
[ "$rc" = 0 ] || fail "no audio device: exit $rc"
grep -q "DXSound not available" "$WORK/no-audio/trace.txt" || fail "no audio device: not traced"
echo "starts: no audio device: exit $rc"

# A data folder that is missing: the program alone in a folder tells it and ends on SIGTERM.
mkdir -p "$WORK/lonely"; cp "$PROGRAM" "$WORK/lonely/veltrane"
PROGRAM_SAVED=$PROGRAM; PROGRAM=$WORK/lonely/veltrane
run no-data "$WORK/cfg-nodata" 3
PROGRAM=$PROGRAM_SAVED
case $rc in 0|1) ;; *) fail "missing data folder: exit $rc" ;; esac
echo "starts: missing data folder: exit $rc"

# Damaged settings files: each starts, says so in one line, keeps the old file.
damaged() {  # NAME then the file's contents on stdin
  local name=$1 c=$WORK/cfg-$1
  mkdir -p "$c"; cat >"$c/settings.ini"
  cp "$c/settings.ini" "$WORK/$name.orig"
  run "$name" "$c" 4
  [ "$rc" = 0 ] || fail "$name settings: exit $rc"
  why=$(complete_settings "$c/settings.ini") || fail "$name settings: settings incomplete: $why"
  [ "$(grep -c 'settings.ini' "$WORK/$name/stderr")" = 1 ] || fail "$name settings: not named in one line on stderr"
  grep -q "^SettingsStore .*settings.ini" "$WORK/$name/trace.txt" || fail "$name settings: not traced"
  cmp -s "$c/settings.ini.bad" "$WORK/$name.orig" || fail "$name settings: no copy kept as settings.ini.bad"
  [ "$(stat -c %s "$c/settings.ini")" -lt 4096 ] || fail "$name settings: the junk was written back"
  echo "starts: $name settings: exit $rc; $(grep -m1 settings.ini "$WORK/$name/stderr")"
}
printf '[MainForm]\nSoundVolume=40\nZoom=3.5\nsModellFi' | damaged truncated
head -c 20000 /dev/urandom | damaged garbage
yes 'junk=a line of text no run of the program wrote' | head -c 52428800 | damaged junk-50MB
printf 'stray=1\n[MainForm]\nWidth=-5\nHeight=99999999\nZoom=nan\niLanguage=99\nsModellFilename=Model/none.par\n[Nonsense]\nx=1\n' | damaged absurd
grep -q "kept defaults for: Zoom, Width, Height" "$WORK/absurd/trace.txt" || fail "absurd settings: the defaults used are not traced"

# A read-only settings folder: the start runs on what it can read, and the exit
# says the settings could not be saved (a box that takes Return) without a crash.
ro=$WORK/cfg-ro; mkdir -p "$ro"; printf '[MainForm]\nZoom=3\n' >"$ro/settings.ini"; chmod a-w "$ro" "$ro/settings.ini"
as_user=()
if [ "$(id -u)" = 0 ]; then as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); chmod -R a+rX "$WORK"; fi
mkdir -p "$WORK/read-only"; chmod a+w "$WORK/read-only"
"${as_user[@]}" "$PROGRAM" --config-dir "$ro" --trace "$WORK/read-only/trace.txt" >/dev/null 2>"$WORK/read-only/stderr" &
pid=$!; sleep 4; kill -TERM "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; xdotool key Return >/dev/null 2>&1; sleep 0.3; done
if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; fail "read-only folder: did not end"; fi
wait "$pid"; rc=$?
[ "$rc" -lt 128 ] || fail "read-only folder: ended by signal $((rc - 128))"
grep -q "settings not saved" "$WORK/read-only/trace.txt" || fail "read-only folder: the failed save is not traced"
echo "starts: read-only settings folder: exit $rc; $(grep -m1 "settings not saved" "$WORK/read-only/trace.txt" | tr -d '\r')"

echo "starts: $failures failures"
[ "$failures" = 0 ]
