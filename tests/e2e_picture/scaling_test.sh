#!/usr/bin/env bash
# The picture on a 1920 x 1080 screen: 1440 x 1080, centred and crisp; with
# --integer-scale 1200 x 900; --window starts in an 800 x 600 window.
# Alt+Enter gives an 800 x 600 window and back to full screen while the music
# goes on: the sound written by SDL's disk driver keeps at least half its
# onsets a second in the window and after the way back.
#   scaling_test.sh RUN_DIR BEAT_GRID
set -u
run_dir=$1
TIMING_BEAT_GRID=$2
here=$(dirname "$0")
. "$here/../e2e_tidewell/e2e_lib.sh"
. "$here/../e2e_tidewell/timing_lib.sh"

start_private_display 1920x1080
make_workdir "$run_dir"
# Clicks on a steady beat, so that the onsets a second are the same in every
# stretch while the music goes on.
make_click_folder
write_click_settings 3

# Waits up to 20 s for the picture at its size, then checks that shot once.
box() { python3 "$here/../support/picture_box.py" "$E2E_WORKDIR/shot.rgb" 1920 1080; }
box_is() { shoot shot && box | awk -v w="$1" -v h="$2" '{ exit !(($3 - w) ^ 2 <= 4 && ($4 - h) ^ 2 <= 4) }'; }
expect_box() {
  wait_until 20 box_is "$2" "$3" || fail "$1: no picture of ${2}x$3 on the screen: $(box)"
  python3 "$here/check_scaling.py" "$E2E_WORKDIR/shot.rgb" 1920 1080 "$2" "$3" || fail "$1: see above"
}

window_is() { [ "$(xdotool getwindowgeometry "$E2E_WINDOW" | sed -n 's/.*Geometry: //p')" = "$1" ]; }
expect_window() { wait_until 5 window_is "$1" || fail "the window is not $1"; }

export SDL_AUDIODRIVER=dummy
start_tidewell --integer-scale
expect_box "--integer-scale" 1200 900
end_tidewell Escape 5000

start_tidewell --window
expect_window 800x600
expect_box "--window" 800 600
end_tidewell Escape 5000

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw"
start_tidewell
wait_for_stream_seconds 2
expect_box "full screen" 1440 1080
to_window=$(stream_seconds)
xdotool key --window "$E2E_WINDOW" alt+Return
expect_window 800x600
expect_box "window" 800 600
wait_for_stream_seconds +1.5
back=$(stream_seconds)
xdotool key --window "$E2E_WINDOW" alt+Return
expect_window 1920x1080
expect_box "full screen again" 1440 1080
wait_for_stream_seconds +1.5
end=$(stream_seconds)
end_tidewell Escape 5000

full=$(onset_rate 0 "$to_window") windowed=$(onset_rate "$to_window" "$back") again=$(onset_rate "$back" "$end")
awk -v f="$full" -v w="$windowed" -v a="$again" 'BEGIN { exit !(f > 0 && w >= f / 2 && a >= f / 2) }' ||
  fail "the music did not go on across the switch: $full onsets a second in full screen, $windowed windowed, $again back"
echo "ok"
