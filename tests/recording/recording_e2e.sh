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

# F10, then waits until the program's output says TEXT.
press_f10_for() {
  xdotool key --window "$E2E_WINDOW" F10
  wait_until 20 grep -q "$1" "$E2E_WORKDIR/stdout.txt" || fail "no '$1' in: $(cat "$E2E_WORKDIR/stdout.txt")"
}

start_tidewell
press_f10_for "recording to"
started=$(stream_seconds)
wait_for_stream_seconds +5
press_f10_for "recording finished"
finished=$(stream_seconds)
end_tidewell Escape 5000
recording=$(ls "$E2E_WORKDIR"/recordings/tidewell-????????-??????.wav) || fail "no recording"
[ "$(echo "$recording" | wc -l)" = 1 ] || fail "more than one recording: $recording"
result=$("$match" "$E2E_WORKDIR/out.raw" "$recording") || fail "cannot compare: $result"
seconds=$(sed -n 's/^seconds=//p' <<<"$result")
correlation=$(sed -n 's/^correlation=//p' <<<"$result")
awk -v s="$seconds" -v a="$started" -v b="$finished" 'BEGIN { exit !(s >= 4.5 && s >= b - a - 0.5 && s <= b - a + 0.5) }' ||
  fail "the recording lasts $seconds s; $started s to $finished s of output were written while it ran"
awk -v c="$correlation" 'BEGIN { exit !(c >= 0.99) }' || fail "the recording matches the device at $correlation only"

# SIGTERM while recording: the file is finished on the way out.
rm -rf "$E2E_WORKDIR/recordings" "$E2E_WORKDIR/out.raw"
start_tidewell
press_f10_for "recording to"
wait_for_stream_seconds +4
end_tidewell TERM 5000
recording=$(ls "$E2E_WORKDIR"/recordings/tidewell-*.wav) || fail "no recording after SIGTERM"
seconds=$(soxi -D "$recording") || fail "sox cannot read $recording"
awk -v s="$seconds" 'BEGIN { exit !(s >= 3.5) }' || fail "the recording cut by SIGTERM holds $seconds s, not >= 3.5 s"
echo "e2e_recording: ok"
