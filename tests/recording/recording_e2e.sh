#!/usr/bin/env bash
# F10 records what the device plays: F10, 5 s of output, F10 gives a file as
# long as the output written between the program's "recording to" and
# "recording finished" lines (+-0.5 s; a loaded machine takes the keys late)
# that lines up with SDL's disk output (correlation >= 0.99), and SIGTERM 4 s
# into a recording still leaves a file sox reads (>= 3.5 s).
#   recording_e2e.sh RUN_DIR RECORDING_MATCH
set -u
run_dir=$1
match=$2
. "$(dirname "$0")/../e2e_tidewell/e2e_lib.sh"
. "$(dirname "$0")/../e2e_tidewell/timing_lib.sh"

start_private_display
make_workdir "$run_dir"
printf '%s' "1,7,0,2,0,0,0,7,3,demo1,none," >"$E2E_WORKDIR/data/settings.txt"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw"

# Waits until the program's output holds a line with the given text.
wait_for_line() {
  local text=$1
  for _ in $(seq 1000); do
    grep -q "$text" "$E2E_WORKDIR/stdout.txt" && return 0
    sleep 0.02
  done
  fail "no '$text' in: $(cat "$E2E_WORKDIR/stdout.txt")"
}

start_tidewell
xdotool key --window "$E2E_WINDOW" F10
wait_for_line "recording to"
started=$(stream_seconds)
wait_for_stream_seconds "$(awk -v s="$started" 'BEGIN { print s + 5 }')"
xdotool key --window "$E2E_WINDOW" F10
wait_for_line "recording finished"
finished=$(stream_seconds)
xdotool key --window "$E2E_WINDOW" Escape
wait_for_exit 5000
[ "$E2E_EXIT" = 0 ] || fail "Escape ended with $E2E_EXIT"
recording=$(ls "$E2E_WORKDIR"/recordings/tidewell-????????-??????.wav) || fail "no recording"
[ "$(echo "$recording" | wc -l)" = 1 ] || fail "more than one recording: $recording"
result=$("$match" "$E2E_WORKDIR/out.raw" "$recording") || fail "cannot compare: $result"
echo "$result"
seconds=$(echo "$result" | sed -n 's/^seconds=//p')
correlation=$(echo "$result" | sed -n 's/^correlation=//p')
awk -v s="$seconds" -v a="$started" -v b="$finished" 'BEGIN { exit !(s >= 4.5 && s >= b - a - 0.5 && s <= b - a + 0.5) }' ||
  fail "the recording lasts $seconds s; $started s to $finished s of output were written while it ran"
awk -v c="$correlation" 'BEGIN { exit !(c >= 0.99) }' || fail "the recording matches the device at $correlation only"

# SIGTERM while recording: the file is finished on the way out.
rm -rf "$E2E_WORKDIR/recordings" "$E2E_WORKDIR/out.raw"
start_tidewell
xdotool key --window "$E2E_WINDOW" F10
wait_for_line "recording to"
wait_for_stream_seconds "$(awk -v s="$(stream_seconds)" 'BEGIN { print s + 4 }')"
kill -TERM "$E2E_PID"
wait_for_exit 5000
[ "$E2E_EXIT" = 0 ] || fail "SIGTERM ended with $E2E_EXIT"
recording=$(ls "$E2E_WORKDIR"/recordings/tidewell-*.wav) || fail "no recording after SIGTERM"
seconds=$(soxi -D "$recording") || fail "sox cannot read $recording"
echo "after SIGTERM: $seconds s"
awk -v s="$seconds" 'BEGIN { exit !(s >= 3.5) }' || fail "the recording cut by SIGTERM holds $seconds s, not >= 3.5 s"
echo "e2e_recording: ok"
