#!/bin/bash
# Plays the four demos side by side, each under its own X display (a window
# without the focus is muted) with SDL's disk audio driver, until each has
# written SECONDS of sound, and measures what came out:
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

. "$(dirname "$0")/demo_lib.sh"

# The launcher's demo presets, written exactly as it writes them.
declare -A PRESET=(
  [demo1]="1,7,0,2,0,0,0,3,3,demo1,none,"
  [demo2]="1,0,1,0,0,0,0,2,0,demo2,none,"
  [demo3]="1,5,0,2,0,0,0,5,3,demo3,none,"
  [demo4]="1,5,1,0,1,0,0,3,3,demo4,none,"
)
declare -A NAME=([demo1]=Percussive [demo2]=Ambient [demo3]=L-Piano [demo4]=Instagib)

# play_demo DEMO: plays it on a display of its own until SECONDS of sound are
# written, then ends it with SIGTERM; the subshell's exit code says whether
# that went as it should.
play_demo() {
  local demo=$1 work="$SCRATCH/$1" raw="$SCRATCH/$1.raw"
  E2E_EXIT_COMMANDS=()
  start_private_display
  mkdir -p "$work"
  cp -r "$RUN_DIR"/. "$work"/
  rm -f "$work/data/debug.txt"
  printf '%s' "${PRESET[$demo]}" > "$work/data/settings.txt"
  (cd "$work" && TIDEWELL_MIXER_REPORT=1 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$raw" exec ./tidewell) >"$SCRATCH/$demo.log" 2>&1 &
  PLAYER_PID=$!
  on_exit '[ -n "$PLAYER_PID" ] && kill -9 "$PLAYER_PID"'
  wait_for_stream "$raw" "$SECONDS_PER_DEMO" || fail "$demo: tidewell ended early or wrote too little: $(tail -5 "$SCRATCH/$demo.log")"
  kill -TERM "$PLAYER_PID" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$PLAYER_PID" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$PLAYER_PID" 2>/dev/null && fail "$demo: tidewell did not end on SIGTERM"
  wait "$PLAYER_PID" 2>/dev/null
  PLAYER_PID=""
}

players=()
for demo in demo1 demo2 demo3 demo4; do
  (play_demo "$demo") &
  players+=($!)
done
status=0
for pid in "${players[@]}"; do wait "$pid" || status=1; done

min_rms=""
max_rms=""
for demo in demo1 demo2 demo3 demo4; do
  raw="$SCRATCH/$demo.raw"
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
