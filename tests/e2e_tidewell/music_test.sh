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
# Beats every 60000 / 700 ms within 0.5 %, on a grid they keep within 8 ms
# rms (a loaded machine moves the disk driver's writes by milliseconds).
expect_beats 1.5 "$(stream_seconds)" 85.714286 0.5 "700 a minute" 8

xdotool key --window "$E2E_WINDOW" --delay 2 --repeat 300 F7
# The presses are all taken within a frame or two of the last one.
wait_for_stream_seconds +0.5
slow_from=$(stream_seconds)
wait_for_stream_seconds +8
slow_to=$(stream_seconds)

before=$(symbol_mask)
[ "${before//0/}" != "" ] || fail "no behaviour symbol on the info line"
xdotool key --window "$E2E_WINDOW" F2
wait_until 20 eval '[ "$(symbol_mask)" != "$before" ]' || fail "F2 did not change the behaviour symbol"
end_tidewell Escape 1000
stop_growth_log
expect_beats "$slow_from" "$slow_to" 150 0.5 "400 a minute" 8
echo "music test passed"
