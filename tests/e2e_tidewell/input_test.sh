#!/usr/bin/env bash
# Nothing a player does with the window disturbs the beat: minimised, the
# program presents nothing and plays no beat, and on restore both resume; a
# flood of mouse moves leaves the onsets a second as they were without it,
# and Escape right after the flood ends the program within half a second.
#   input_test.sh RUN_DIR BEAT_GRID GROWTH_WATCH
set -u
run_dir=$1
TIMING_BEAT_GRID=$2
TIMING_GROWTH_WATCH=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
. "$here/timing_lib.sh"
on_exit 'stop_growth_log; [ -n "${FLOOD_PID:-}" ] && kill "$FLOOD_PID"'

start_private_display
make_workdir "$run_dir"
make_click_folder
write_click_settings 3
build_present_counter
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw"
LD_PRELOAD=$E2E_WORKDIR/present_counter.so start_tidewell
start_growth_log
wait_for_stream_seconds 1
quiet_from=$(stream_seconds)
wait_for_stream_seconds +5
quiet_rate=$(onset_rate "$quiet_from" "$(stream_seconds)")

# Minimised (without a window manager, unmapping is what minimising does to
# the window; SDL reports it as minimised). The program takes the hiding
# within a frame or two: from when the count stands still, it must stay so.
xdotool windowunmap "$E2E_WINDOW"
presents_hidden=$(presents_so_far)
for _ in $(seq 25); do
  sleep 0.2
  [ "$(presents_so_far)" = "$presents_hidden" ] && break
  presents_hidden=$(presents_so_far)
done
hidden_from=$(stream_seconds)
wait_for_stream_seconds +1.5
presents_still=$(presents_so_far)
hidden_rate=$(onset_rate "$hidden_from" "$(stream_seconds)")
[ "$presents_still" = "$presents_hidden" ] || fail "presents went on while minimised: $presents_hidden, then $presents_still"
[ "$hidden_rate" = 0.00 ] || fail "beats went on while minimised: $hidden_rate a second"

xdotool windowmap "$E2E_WINDOW"
xdotool windowfocus "$E2E_WINDOW" 2>/dev/null  # the sound is heard only with the focus
wait_until 10 eval '[ "$(presents_so_far)" -gt "$presents_still" ]' || fail "no presents after restoring"
back_from=$(stream_seconds)
wait_for_stream_seconds +1.5
back_rate=$(onset_rate "$back_from" "$(stream_seconds)")
awk -v b="$back_rate" -v q="$quiet_rate" 'BEGIN { exit !(b >= q / 2 && q > 0) }' ||
  fail "beats did not resume after restoring: $back_rate a second, $quiet_rate before"

# Mouse flood: one xdotool run moves the pointer a hundred times, so the
# loop gives well over a few hundred moves a second.
moves=$(for y in $(seq 300 319); do printf ' mousemove %s %s' 100 "$y" 300 "$y" 500 "$y" 700 "$y" 900 "$y"; done)
# shellcheck disable=SC2086
(while :; do xdotool $moves; done) 2>/dev/null &
FLOOD_PID=$!
wait_for_stream_seconds +0.5
flood_from=$(stream_seconds)
wait_for_stream_seconds +5
flood_rate=$(onset_rate "$flood_from" "$(stream_seconds)")
kill "$FLOOD_PID" 2>/dev/null
wait "$FLOOD_PID" 2>/dev/null
FLOOD_PID=""
end_tidewell Escape 2000
[ "$E2E_MS" -le 500 ] || fail "Escape after the flood took $E2E_MS ms"
awk -v q="$quiet_rate" -v f="$flood_rate" 'BEGIN { exit !(f >= 0.9 * q && f <= 1.1 * q) }' ||
  fail "the flood changed the onsets a second from $quiet_rate to $flood_rate"
echo "input test passed"
