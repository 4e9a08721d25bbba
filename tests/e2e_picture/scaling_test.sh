#!/usr/bin/env bash
# The picture on a 1920 x 1080 screen: 1440 x 1080, centred and crisp; with
# --integer-scale 1200 x 900; --window starts in an 800 x 600 window. Alt+Enter gives an 800 x 600 window and back to
# full screen while the music goes on: the sound written by SDL's disk driver
# keeps its onsets in the window and after the way back.
#   scaling_test.sh RUN_DIR AUDIO_MEASURE
set -u
run_dir=$1
measure=$2
here=$(dirname "$0")
. "$here/../e2e_tidewell/e2e_lib.sh"
. "$here/../e2e_tidewell/timing_lib.sh"

start_private_display 1920x1080
make_workdir "$run_dir"
# Clicks on a steady beat, so that the onsets a second are the same in every
# stretch while the music goes on.
make_click_folder
write_click_settings 3

# Waits for the picture at its size, then checks that shot once.
expect_box() {
  local what=$1 w=$2 h=$3
  wait_for_picture shot "$w" "$h"
  python3 "$here/check_scaling.py" "$E2E_WORKDIR/shot.rgb" 1920 1080 "$w" "$h" || fail "$what: see above"
}

expect_window() {
  local w=$1 h=$2 geometry
  for _ in $(seq 30); do
    geometry=$(xdotool getwindowgeometry "$E2E_WINDOW" | sed -n 's/.*Geometry: //p')
    [ "$geometry" = "${w}x$h" ] && return
    sleep 0.1
  done
  fail "the window is $geometry, not ${w}x$h"
}

export SDL_AUDIODRIVER=dummy
start_tidewell --integer-scale
expect_box "--integer-scale" 1200 900
end_tidewell Escape 5000

start_tidewell --window
expect_window 800 600
expect_box "--window" 800 600
end_tidewell Escape 5000

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw"
start_tidewell
wait_for_stream_seconds 2
expect_box "full screen" 1440 1080
to_window=$(stream_seconds)
xdotool key --window "$E2E_WINDOW" alt+Return
expect_window 800 600
expect_box "window" 800 600
wait_for_stream_seconds "$(awk -v s="$to_window" 'BEGIN { print s + 1.5 }')"
back=$(stream_seconds)
xdotool key --window "$E2E_WINDOW" alt+Return
expect_window 1920 1080
expect_box "full screen again" 1440 1080
wait_for_stream_seconds "$(awk -v s="$back" 'BEGIN { print s + 1.5 }')"
end=$(stream_seconds)
end_tidewell Escape 5000

# Onsets a second before the switch, in the window and after the way back.
"$measure" "$E2E_WORKDIR/out.raw" | sed -n 's/^onsets=//p' | tr ',' '\n' |
  awk -v a="$to_window" -v b="$back" -v c="$end" '
    $1 < a { n0++ } $1 >= a && $1 < b { n1++ } $1 >= b && $1 < c { n2++ }
    END {
      r0 = n0 / a; r1 = n1 / (b - a); r2 = n2 / (c - b)
      printf "onsets a second: %.1f full screen, %.1f windowed, %.1f back\n", r0, r1, r2
      exit !(n0 > 0 && r1 >= r0 / 2 && r2 >= r0 / 2)
    }' || fail "the music did not go on across the switch"
echo "ok"
