#!/usr/bin/env bash
# The "Percussive" demo's settings play: the beats keep the tempo (700 beats a
# minute, not the whole frames of 60 Hz), 300 presses of F7 slow them as the
# new tempo says, F2 changes the behaviour symbol of the info line, and
# Escape ends with 0. The folder holds one short click instead of the drum
# kit, so that every beat that sounds gives one sharp onset and nothing else
# does. The disk driver's stream does not keep wall time, so each onset is
# timed by when its frames were written (bench/timing measures the same over
# longer runs).
#   music_test.sh RUN_DIR BEAT_GRID GROWTH_WATCH
set -u
run_dir=$1
TIMING_BEAT_GRID=$2
TIMING_GROWTH_WATCH=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
. "$here/timing_lib.sh"
on_exit stop_growth_log

start_private_display
make_workdir "$run_dir"
make_click_folder
printf '%s' "1,7,0,2,0,0,0,3,3,clicks,none," >"$E2E_WORKDIR/data/settings.txt"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw"

# expect_tempo FROM TO TEMPO: the beats between those stream seconds come
# every 60000 / TEMPO ms (within 0.5 %), on a grid they keep within 8 ms rms
# (a loaded machine moves the disk driver's writes by milliseconds).
expect_tempo() {
  local interval result spacing rms
  interval=$(awk -v t="$3" 'BEGIN { printf "%.6f", 60000 / t }')
  result=$("$TIMING_BEAT_GRID" "$E2E_WORKDIR/out.raw" --interval "$interval" --threshold 0.02 \
      --growth "$E2E_WORKDIR/growth.log" --from "$1" --to "$2")
  spacing=$(sed -n 's/^frame_clock_spacing_ms=//p' <<<"$result")
  rms=$(sed -n 's/^frame_clock_rms_ms=//p' <<<"$result")
  echo "$3 bpm: beats every $spacing ms (want $interval), $rms ms rms off the grid"
  awk -v s="$spacing" -v i="$interval" -v r="$rms" 'BEGIN { exit !(s >= i * 0.995 && s <= i * 1.005 && r <= 8) }' ||
    fail "$3 bpm: beats every $spacing ms, $rms ms rms off the grid; want $interval ms"
}

# The info line's behaviour symbol (the 8 x 8 cell at picture (90, 290)) as a
# mask of lit pixels, wherever the picture lies on the screen (colour 0 is
# black in every palette, so the glyph shows wherever a pixel is not black).
symbol_mask() {
  shoot screen
  python3 "$here/../support/picture_box.py" "$E2E_WORKDIR/screen.rgb" "$SCREEN_W" "$SCREEN_H" --mask 90 290 8 8 ||
    fail "no picture on the screen"
}

start_tidewell
start_growth_log
wait_for_stream_seconds 9.5
expect_tempo 1.5 "$(stream_seconds)" 700

xdotool key --window "$E2E_WINDOW" --delay 2 --repeat 300 F7
# The presses are all taken within a frame or two of the last one.
slow_from=$(awk -v s="$(stream_seconds)" 'BEGIN { printf "%.3f", s + 0.5 }')
wait_for_stream_seconds "$(awk -v s="$slow_from" 'BEGIN { print s + 8 }')"
slow_to=$(stream_seconds)

before=$(symbol_mask)
[ "${before//0/}" != "" ] || fail "no behaviour symbol on the info line"
xdotool key --window "$E2E_WINDOW" F2
after=$before
for _ in $(seq 50); do
  after=$(symbol_mask)
  [ "$before" != "$after" ] && break
done
[ "$before" != "$after" ] || fail "F2 did not change the behaviour symbol"
xdotool key --window "$E2E_WINDOW" Escape
wait_for_exit 1000
stop_growth_log
[ "$E2E_EXIT" = "0" ] || fail "Escape ended the music with $E2E_EXIT"

expect_tempo "$slow_from" "$slow_to" 400
echo "music test passed"
