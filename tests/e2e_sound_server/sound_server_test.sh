#!/usr/bin/env bash
# The main program through a real sound server: a PulseAudio daemon of this
# test's own (a null sink on the system clock, reached through a private
# socket), recorded from the sink's monitor. At 700 beats a minute the clicks
# come every 60000 / 700 ms by the server's clock, on a grid they keep within
# 1 ms rms while the server runs without an underrun; its mixer shows the
# stream as the application "Tidewell", role "music", icon "tidewell".
#   sound_server_test.sh RUN_DIR BEAT_GRID
set -u
run_dir=$1
beat_grid=$2
here=$(cd "$(dirname "$0")/../e2e_tidewell" && pwd)
. "$here/e2e_lib.sh"
. "$here/timing_lib.sh"
PA_PID="" REC_PID=""
stop_servers() {
  [ -n "$REC_PID" ] && kill "$REC_PID" 2>/dev/null
  [ -n "$PA_PID" ] && kill "$PA_PID" 2>/dev/null && wait "$PA_PID" 2>/dev/null
  PA_PID="" REC_PID=""
}
on_exit stop_servers

start_private_display 1024x768
make_workdir "$run_dir"
make_click_folder
write_click_settings 3
work=$E2E_WORKDIR

# The daemon keeps its runtime files under the test's folder, and nothing
# of a desktop's own server (autospawn, user configuration) takes part.
export HOME=$work XDG_RUNTIME_DIR=$work PULSE_RUNTIME_PATH=$work/pulse PULSE_STATE_PATH=$work/pulse
# At real-time priority where the machine allows it, as a desktop's server
# runs through its real-time broker.
realtime=""
chrt -f 40 true 2>/dev/null && realtime="chrt -f 40"
$realtime pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-level=debug \
    --log-target="file:$work/pa.log" \
    --load="module-null-sink sink_name=out rate=48000" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pa.sock" &
PA_PID=$!
export PULSE_SERVER=unix:$work/pa.sock
wait_until 10 eval 'pactl info >/dev/null 2>&1' || fail "the sound server did not answer: $(tail -5 "$work/pa.log")"

parec -d out.monitor --format=float32le --rate=48000 --channels=2 >"$work/rec.raw" 2>"$work/parec.err" &
REC_PID=$!
export SDL_AUDIODRIVER=pulseaudio
start_tidewell
# Seconds recorded so far.
recorded() { awk -v b="$(stat -c %s "$work/rec.raw")" 'BEGIN { printf "%.3f", b / 8 / 48000 }'; }
# From half a second after start-up, 15 s measured.
from=$(awk -v s="$(recorded)" 'BEGIN { print s + 0.5 }')
# Underruns count from here: the stream's first moments, while the program
# still loads its samples, are not the steady play this test measures.
log_mark=$(wc -l <"$work/pa.log")
to=$(awk -v f="$from" 'BEGIN { print f + 15 }')
for _ in $(seq 300); do
  awk -v s="$(recorded)" -v t="$to" 'BEGIN { exit !(s > t + 0.5) }' && break
  sleep 0.1
done
pactl list sink-inputs >"$work/inputs.txt"
# The daemon logs at debug level, where every underrun of a stream shows
# (its end, when the program closes, is one too: counted before).
underruns=$(tail -n +"$((log_mark + 1))" "$work/pa.log" | grep -ci 'underrun of')
end_tidewell Escape 10000
stop_servers

interval=$(awk 'BEGIN { printf "%.6f", 60000 / 700 }')
result=$("$beat_grid" "$work/rec.raw" --interval "$interval" --threshold 0.02 --from "$from" --to "$to")
spacing=$(sed -n 's/^spacing_ms=//p' <<<"$result")
rms=$(sed -n 's/^rms_ms=//p' <<<"$result")
span=$(sed -n 's/^span_s=//p' <<<"$result")
echo "beats every $spacing ms (want $interval) over $span s, $rms ms rms off the grid; $underruns underruns"

for property in 'application.name = "Tidewell"' 'media.role = "music"' 'application.icon_name = "tidewell"'; do
  grep -qF "$property" "$work/inputs.txt" || fail "the sink input lacks $property: $(cat "$work/inputs.txt")"
done
awk -v s="$spacing" -v i="$interval" -v n="$span" \
  'BEGIN { exit !(s >= i * 0.9995 && s <= i * 1.0005 && n >= 14) }' ||
  fail "beats every $spacing ms over $span s; want $interval ms within 0.05 % over 15 s"
# An underrun is the machine's: a virtual machine can hold back even a
# real-time thread for tens of milliseconds, longer than the server holds;
# the stream resumes later and the beats after it move. So CI holds the grid
# whenever the server ran without an underrun, and SOUND_SERVER_STRICT=1
# asks for no underrun as well.
if [ "$underruns" = 0 ] || [ "${SOUND_SERVER_STRICT:-0}" = 1 ]; then
  [ "$underruns" = 0 ] || fail "the server logged $underruns underruns of the stream"
  awk -v r="$rms" 'BEGIN { exit !(r <= 1) }' || fail "beats $rms ms rms off their grid; want at most 1 ms"
fi
echo "sound server test passed"
