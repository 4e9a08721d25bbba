#!/usr/bin/env bash
# Tidewell and a real Link peer (LinkHut) in a private network namespace:
# `tidewell --link` joins LinkHut's session at 120 BPM and shows as its one
# peer within 3 s; its beats (two to a session beat) come every 250 ms; when
# LinkHut goes to 140 BPM they come every 214.3 ms from one beat after; and
# 40 presses of F8 (half a beat a minute each) take LinkHut to 160 BPM.
# The sound is a folder of one click written by SDL's disk driver, each
# onset timed by when its frames were written.
#   link_peer_test.sh RUN_DIR BEAT_GRID GROWTH_WATCH
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e_tidewell/e2e_lib.sh"
. "$here/../e2e_tidewell/timing_lib.sh"
. "$here/link_lib.sh"
enter_private_network "$@"
run_dir=$1
TIMING_BEAT_GRID=$2
TIMING_GROWTH_WATCH=$3
on_exit 'stop_growth_log; stop_link_peers'

loopback_with_multicast
start_private_display
make_workdir "$run_dir"
make_click_folder
write_click_settings 3  # 700 in the tempo field: 350 on the info line, until the session wins
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw"

start_private_jack "$E2E_WORKDIR/jackd.log" 256  # LinkHut's audio needs a server
start_linkhut
printf a >&3  # Link on
wait_linkhut 1 yes 10 || fail "LinkHut did not enable Link: $(linkhut_field 1)"
[ "$(linkhut_field 5)" = "120.00" ] || fail "LinkHut starts at $(linkhut_field 5) BPM, not 120"

# Tidewell's start, and the moment LinkHut counts it as a peer.
started=$(date +%s%N)
( wait_linkhut 2 1 20 && echo $(( ($(date +%s%N) - started) / 1000000 )) >"$E2E_WORKDIR/joined_ms" ) &
joined_watch=$!
start_tidewell --link
start_growth_log
wait "$joined_watch"
joined_ms=$(cat "$E2E_WORKDIR/joined_ms" 2>/dev/null)
[ -n "$joined_ms" ] || fail "LinkHut never saw Tidewell as a peer (peers: $(linkhut_field 2))"
[ "$joined_ms" -le 3000 ] || fail "LinkHut saw Tidewell only after $joined_ms ms"
grep -q "^Link on" "$E2E_WORKDIR/data/debug.txt" || fail "the debug log does not say Link is on"

wait_for_stream_seconds +1
at120_from=$(stream_seconds)
wait_for_stream_seconds +5
at120_to=$(stream_seconds)

linkhut_tempo 140 || fail "LinkHut did not reach 140 BPM: $(linkhut_field 5)"
changed=$(stream_seconds)
wait_for_stream_seconds +4
at140_to=$(stream_seconds)

xdotool key --window "$E2E_WINDOW" --delay 30 --repeat 40 F8
wait_linkhut 5 160.00 15 || fail "40 x F8 took LinkHut to $(linkhut_field 5) BPM, not 160"
end_tidewell Escape 5000
stop_growth_log

expect_beats "$at120_from" "$at120_to" 250 3 "LinkHut at 120 BPM"
after_one_beat=$(awk -v c="$changed" 'BEGIN { printf "%.3f", c + 0.25 }')
expect_beats "$after_one_beat" "$at140_to" 214.2857 3 "LinkHut at 140 BPM, from one beat after the change"
echo "link peer test passed"
