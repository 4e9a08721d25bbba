#!/bin/bash
# Plays each of the four demos for a while under a private X display with
# SDL's disk audio driver and measures what came out:
#   - no stretch of 5 s or more is silent,
#   - at most 0.1 % of the frames pass the limiter's ceiling, so that it has
#     to act on them (the mixer reports its count at exit when
#     TIDEWELL_MIXER_REPORT is set),
#   - the four demos' loudness (RMS over the run) lies within 6 dB.
# Usage: demos_sound_test.sh RUN_DIR AUDIO_MEASURE [SECONDS]
set -u

RUN_DIR=$1
MEASURE=$2
SECONDS_PER_DEMO=${3:-20}

fail() { echo "FAIL: $*" >&2; exit 1; }

[ -x "$RUN_DIR/tidewell" ] || fail "no tidewell in $RUN_DIR (not built yet)"
[ -x "$MEASURE" ] || fail "no audio_measure at $MEASURE"

. "$(dirname "$0")/private_display.sh"
start_private_display 230 260 || fail "no display"

# The launcher's demo presets, written exactly as it writes them.
declare -A PRESET=(
  [demo1]="1,7,0,2,0,0,0,3,3,demo1,none,"
  [demo2]="1,0,1,0,0,0,0,2,0,demo2,none,"
  [demo3]="1,5,0,2,0,0,0,5,3,demo3,none,"
  [demo4]="1,5,1,0,1,0,0,3,3,demo4,none,"
)
declare -A NAME=([demo1]=Percussive [demo2]=Ambient [demo3]=L-Piano [demo4]=Instagib)

status=0
min_rms=""
max_rms=""
for demo in demo1 demo2 demo3 demo4; do
  work="$SCRATCH/$demo"
  mkdir -p "$work"
  cp -r "$RUN_DIR"/. "$work"/
  rm -f "$work/data/debug.txt"
  printf '%s' "${PRESET[$demo]}" > "$work/data/settings.txt"
  raw="$SCRATCH/$demo.raw"

  (cd "$work" && TIDEWELL_MIXER_REPORT=1 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$raw" exec ./tidewell) >"$SCRATCH/$demo.log" 2>&1 &
  PLAYER_PID=$!
  sleep "$SECONDS_PER_DEMO"
  kill -0 "$PLAYER_PID" 2>/dev/null || { echo "FAIL: $demo: tidewell ended early: $(tail -5 "$SCRATCH/$demo.log")" >&2; status=1; }
  kill -TERM "$PLAYER_PID" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$PLAYER_PID" 2>/dev/null || break; sleep 0.05; done
  if kill -0 "$PLAYER_PID" 2>/dev/null; then
    echo "FAIL: $demo: tidewell did not end on SIGTERM" >&2
    kill -9 "$PLAYER_PID" 2>/dev/null
    status=1
  fi
  wait "$PLAYER_PID" 2>/dev/null
  PLAYER_PID=""

  [ -s "$raw" ] || { echo "FAIL: $demo: no sound written" >&2; status=1; continue; }
  figures=$("$MEASURE" "$raw" --rate 48000 --channels 2)
  value() { echo "$figures" | sed -n "s/^$1=//p"; }
  seconds=$(value seconds)
  rms=$(value rms_dbfs)
  report=$(grep -o 'mixer: frames=[0-9]* limited=[0-9]*' "$SCRATCH/$demo.log" | tail -1)
  frames=$(echo "$report" | sed -n 's/.*frames=\([0-9]*\).*/\1/p')
  limited=$(echo "$report" | sed -n 's/.*limited=\([0-9]*\).*/\1/p')
  peak=$(value peak_dbfs)
  silence=$(value longest_silence_s)
  onsets=$(value onset_count)
  spacing=$(value median_onset_spacing_s)
  echo "$demo (${NAME[$demo]}): seconds=$seconds rms_dbfs=$rms peak_dbfs=$peak limited_frames=${limited:-?}/${frames:-?} longest_silence_s=$silence onset_count=$onsets median_onset_spacing_s=$spacing"

  awk -v s="$seconds" -v want="$SECONDS_PER_DEMO" 'BEGIN { exit !(s >= 0.75 * want) }' ||
    { echo "FAIL: $demo: only $seconds s of sound for a $SECONDS_PER_DEMO s run" >&2; status=1; }
  awk -v x="$silence" 'BEGIN { exit !(x < 5.0) }' ||
    { echo "FAIL: $demo: silent for $silence s" >&2; status=1; }
  if [ -z "$frames" ] || [ "$frames" -eq 0 ]; then
    echo "FAIL: $demo: no mixer report at exit" >&2; status=1
  else
    awk -v l="$limited" -v f="$frames" 'BEGIN { exit !(l <= 0.001 * f) }' ||
      { echo "FAIL: $demo: the limiter acted on $limited of $frames frames" >&2; status=1; }
  fi
  min_rms=$(awk -v a="${min_rms:-$rms}" -v b="$rms" 'BEGIN { print (b < a) ? b : a }')
  max_rms=$(awk -v a="${max_rms:-$rms}" -v b="$rms" 'BEGIN { print (b > a) ? b : a }')
done

if [ -n "$min_rms" ]; then
  spread=$(awk -v a="$min_rms" -v b="$max_rms" 'BEGIN { printf "%.2f", b - a }')
  echo "loudness spread: $spread dB (quietest $min_rms dBFS, loudest $max_rms dBFS)"
  awk -v x="$spread" 'BEGIN { exit !(x <= 6.0) }' || { echo "FAIL: loudness spread $spread dB" >&2; status=1; }
fi
[ "$status" -eq 0 ] && echo "PASS"
exit "$status"
