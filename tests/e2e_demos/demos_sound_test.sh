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
run_dir=$1
measure=$2
per_demo=${3:-20}
. "$(dirname "$0")/../e2e_tidewell/e2e_lib.sh"
. "$(dirname "$0")/../e2e_tidewell/timing_lib.sh"
results=$(mktemp -d)
on_exit 'rm -rf "$results"'

# The launcher's demo presets (Percussive, Ambient, L-Piano, Instagib),
# written exactly as it writes them.
declare -A preset=(
  [demo1]="1,7,0,2,0,0,0,3,3,demo1,none,"
  [demo2]="1,0,1,0,0,0,0,2,0,demo2,none,"
  [demo3]="1,5,0,2,0,0,0,5,3,demo3,none,"
  [demo4]="1,5,1,0,1,0,0,3,3,demo4,none,"
)

# play_demo DEMO (in a subshell): plays it on a display of its own until
# SECONDS of sound are written and ends it with SIGTERM; its sound and output
# are kept in the results folder.
play_demo() {
  E2E_EXIT_COMMANDS=()
  on_exit cleanup_e2e
  start_private_display
  make_workdir "$run_dir"
  printf '%s' "${preset[$1]}" >"$E2E_WORKDIR/data/settings.txt"
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw" TIDEWELL_MIXER_REPORT=1 start_tidewell
  wait_for_stream_seconds "$per_demo"
  end_tidewell TERM 5000
  mv "$E2E_WORKDIR/out.raw" "$results/$1.raw" && mv "$E2E_WORKDIR/stdout.txt" "$results/$1.log"
}

players=()
for demo in demo1 demo2 demo3 demo4; do
  (play_demo "$demo") &
  players+=($!)
done
for pid in "${players[@]}"; do wait "$pid" || fail "a demo did not play through"; done

loudness=()
for demo in demo1 demo2 demo3 demo4; do
  figures=$("$measure" "$results/$demo.raw") || fail "$demo: no sound written"
  eval "$(grep -E '^(seconds|rms_dbfs|longest_silence_s)=[-0-9.]+$' <<<"$figures")"
  read -r frames limited < <(sed -n 's/.*mixer: frames=\([0-9]*\) limited=\([0-9]*\).*/\1 \2/p' "$results/$demo.log" | tail -n 1)
  echo "$demo: $(grep -v '^onsets=' <<<"$figures" | tr '\n' ' ')limited ${limited:-?} of ${frames:-?} frames"
  awk -v s="$seconds" -v w="$per_demo" 'BEGIN { exit !(s >= 0.75 * w) }' || fail "$demo: only $seconds s of sound"
  awk -v x="$longest_silence_s" 'BEGIN { exit !(x < 5.0) }' || fail "$demo: silent for $longest_silence_s s"
  [ "${frames:-0}" -gt 0 ] || fail "$demo: no mixer report at exit"
  [ "$limited" -le $((frames / 1000)) ] || fail "$demo: the limiter acted on $limited of $frames frames"
  loudness+=("$rms_dbfs")
done
printf '%s\n' "${loudness[@]}" | sort -g | sed -n '1p;$p' | paste -sd' ' |
  awk '{ exit !($2 - $1 <= 6.0) }' || fail "the demos' loudness (dBFS) spreads over more than 6 dB: ${loudness[*]}"
echo "PASS"
