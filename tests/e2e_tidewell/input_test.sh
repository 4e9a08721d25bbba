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
wait_for_stream_seconds "$(awk -v s="$quiet_from" 'BEGIN { print s + 5 }')"
quiet_to=$(stream_seconds)

# Minimised (without a window manager, unmapping is what minimising does to
# the window; SDL reports it as minimised).
xdotool windowunmap "$E2E_WINDOW"
# The program takes the hiding within a frame or two; what follows must show no present.
sleep 0.3
hidden_from=$(stream_seconds)
presents_hidden=$(presents_so_far)
wait_for_stream_seconds "$(awk -v s="$hidden_from" 'BEGIN { print s + 1.5 }')"
presents_still=$(presents_so_far)
hidden_to=$(stream_seconds)
xdotool windowmap "$E2E_WINDOW"
xdotool windowfocus "$E2E_WINDOW" 2>/dev/null  # the sound is heard only with the focus
for _ in $(seq 100); do
  presents_back=$(presents_so_far)
  [ "$presents_back" -gt "$presents_still" ] && break
done
back_from=$(stream_seconds)
wait_for_stream_seconds "$(awk -v s="$back_from" 'BEGIN { print s + 1.5 }')"
back_to=$(stream_seconds)

echo "presents: $presents_hidden when minimised, $presents_still 1.5 s later, $presents_back after restoring"
[ "$presents_still" = "$presents_hidden" ] || fail "presents went on while minimised"
[ "$presents_back" -gt "$presents_still" ] || fail "no presents after restoring"
hidden_onsets=$(onsets_between "$hidden_from" "$hidden_to")
back_onsets=$(onsets_between "$back_from" "$back_to")
echo "onsets: $hidden_onsets while minimised, $back_onsets after restoring"
[ "$hidden_onsets" = "0" ] || fail "beats went on while minimised"
[ "$back_onsets" -gt 5 ] || fail "beats did not resume after restoring"

# Mouse flood: one xdotool run moves the pointer a hundred times, so the
# loop gives well over a few hundred moves a second.
moves=""
for y in $(seq 300 319); do
  for x in 100 300 500 700 900; do moves="$moves mousemove $x $y"; done
done
(
  # shellcheck disable=SC2086
  while :; do xdotool $moves; done
) 2>/dev/null &
FLOOD_PID=$!
flood_from=$(awk -v s="$(stream_seconds)" 'BEGIN { printf "%.3f", s + 0.5 }')
wait_for_stream_seconds "$(awk -v s="$flood_from" 'BEGIN { print s + 5 }')"
flood_to=$(stream_seconds)
kill "$FLOOD_PID" 2>/dev/null
wait "$FLOOD_PID" 2>/dev/null
FLOOD_PID=""
xdotool key --window "$E2E_WINDOW" Escape
wait_for_exit 2000
stop_growth_log
echo "Escape after the flood: exit code $E2E_EXIT after $E2E_MS ms"
[ "$E2E_EXIT" = "0" ] || fail "Escape after the flood ended with $E2E_EXIT"
[ "$E2E_MS" -le 500 ] || fail "Escape after the flood took $E2E_MS ms"

quiet_rate=$(awk -v n="$(onsets_between "$quiet_from" "$quiet_to")" -v a="$quiet_from" -v b="$quiet_to" 'BEGIN { printf "%.2f", n / (b - a) }')
flood_rate=$(awk -v n="$(onsets_between "$flood_from" "$flood_to")" -v a="$flood_from" -v b="$flood_to" 'BEGIN { printf "%.2f", n / (b - a) }')
echo "onsets a second: $quiet_rate without moves, $flood_rate under the flood"
awk -v q="$quiet_rate" -v f="$flood_rate" 'BEGIN { exit !(q > 0 && f >= 0.9 * q && f <= 1.1 * q) }' ||
  fail "the flood changed the onsets a second from $quiet_rate to $flood_rate"
echo "input test passed"
