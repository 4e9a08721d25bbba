#!/usr/bin/env bash
# The running program's tempo and onset jitter, measured in the sound SDL's
# disk driver writes, full screen on a virtual display: for each tempo field
# the mean beat spacing against 60000 / tempo and the onsets' distance from
# the fitted grid, beside what the old rule (beats on whole frames) gives for
# the same tempo at 60 frames a second, and how many hits reached the mixer
# after their frame. (Mouse floods and minimising are the input end-to-end
# test's.)
#   tempo_sweep.sh BUILD_DIR [SECONDS]      (default 20 s per tempo)
# Runs on $DISPLAY if it answers, else on a private Xvfb. The program raises
# its own sound thread to real-time scheduling where it may (as root here);
# the growth log runs at real-time priority too, so that its times are the
# writes' own. TIMING_ORDINARY=1 puts the sound thread back to ordinary
# scheduling (a player without a real-time allowance); TIMING_REALTIME=1 also
# puts the program's other threads (the picture) under real-time scheduling,
# below the sound thread.
#
# Figures: "got" is the spacing in stream time scaled by the stream's rate
# against the wall clock (fitted from the file's growth over the run), "rms"
# the onsets off that grid; "local" fits each onset's neighbours only (12
# beats either side), leaving out a slow wander of the driver's pace. The
# disk driver has no clock of its own and its pace wanders with every late
# wake-up, so the stream's own time drifts from the wall clock by tens of
# milliseconds over a run. "frame clock" is the measure that counts: each
# onset timed by the writes around its frames (the stream's tie to the wall
# clock), as the program's output clock sees the device.
set -u
build=$(cd "$1" && pwd)
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tests/e2e_tidewell/e2e_lib.sh"
. "$here/../../tests/e2e_tidewell/timing_lib.sh"
TIMING_GROWTH_WATCH=$build/tools/beat_grid/growth_watch
beat_grid=$build/tools/beat_grid/beat_grid
on_exit stop_growth_log
start_private_display
echo "load: $(uptime | sed 's/.*load average: //')"

# value KEY FILE: the value of a key=value line.
value() { sed -n "s/^$1=//p" "$2"; }

# Beats on whole frames: a beat every ceil(interval / frame) frames, at 60 Hz.
old_rule_spacing() {
  awk -v i="$1" 'BEGIN { f = 1000 / 60; n = int(i / f + 1e-9) + 1; printf "%.3f", n * f }'
}

# run_tempo LABEL FIELD_INDEX F7_PRESSES TEMPO
run_tempo() {
  local label=$1 field=$2 presses=$3 tempo=$4 interval result
  interval=$(awk -v t="$tempo" 'BEGIN { printf "%.6f", 60000 / t }')
  make_workdir "$build/run"
  make_click_folder
  write_click_settings "$field"
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw" TIDEWELL_MIXER_REPORT=1
  start_tidewell
  start_growth_log
  if [ -n "${TIMING_ORDINARY:-}" ]; then
    # What a player without a real-time allowance gets: SDL's raised priority only.
    local task
    for task in /proc/"$E2E_PID"/task/*; do
      grep -q '^SDLAudio' "$task/comm" && chrt -o -p 0 "${task##*/}"
    done
  fi
  if [ -n "${TIMING_REALTIME:-}" ]; then
    # The sound thread above the main thread, as an audio server would run it.
    chrt -f -a -p 10 "$E2E_PID" || fail "no real-time priority"
    local task
    for task in /proc/"$E2E_PID"/task/*; do
      grep -q '^SDLAudio' "$task/comm" && chrt -f -p 20 "${task##*/}"
    done
  fi
  [ "$presses" -gt 0 ] && xdotool key --window "$E2E_WINDOW" --delay 20 --repeat "$presses" F7
  local begin
  begin=$(stream_seconds)
  sleep "$seconds"
  local end
  end=$(stream_seconds)
  end_tidewell Escape 2000  # lets the key go, so that it does not end the next tempo's start
  stop_growth_log
  local late
  late=$(sed -n 's/.*late_starts=\([0-9]*\).*/\1/p' "$E2E_WORKDIR/stdout.txt")
  result=$E2E_WORKDIR/grid.txt
  "$beat_grid" "$E2E_WORKDIR/out.raw" --interval "$interval" --growth "$E2E_WORKDIR/growth.log" --threshold 0.02 \
      --from "$(awk -v b="$begin" 'BEGIN { print b + 1 }')" --to "$end" >"$result"
  printf '%-5s tempo %-5s want %9.3f ms  got %9.3f ms (%+.3f %%, frame clock %+.3f %%)  rms %.3f ms (frame clock %.3f, worst %.3f; local %.3f)  old rule %s ms  %s beats, %s hits late; driver writes %s ms sd\n' \
    "$label" "$tempo" "$interval" "$(value spacing_ms "$result")" "$(value spacing_error_pct "$result")" \
    "$(value frame_clock_spacing_error_pct "$result")" "$(value rms_ms "$result")" \
    "$(value frame_clock_rms_ms "$result")" "$(value frame_clock_worst_ms "$result")" "$(value local_rms_ms "$result")" \
    "$(old_rule_spacing "$interval")" "$(value beats "$result")" "${late:-?}" "$(value write_interval_sd_ms "$result")"
  # TIMING_KEEP=DIR keeps each run's sound and growth log for a closer look.
  if [ -n "${TIMING_KEEP:-}" ]; then
    mkdir -p "$TIMING_KEEP/$label" && cp "$E2E_WORKDIR/out.raw" "$E2E_WORKDIR/growth.log" "$TIMING_KEEP/$label/"
  fi
  # The program and its folder go; a display of our own stays for the next tempo.
  local display_pid=${E2E_XVFB_PID:-}
  E2E_XVFB_PID=""
  cleanup_e2e
  E2E_XVFB_PID=$display_pid
}

run_tempo 60 0 0 60
run_tempo 600 2 0 600
run_tempo 700 3 0 700
run_tempo 1000 4 0 1000
run_tempo 690 3 10 690
