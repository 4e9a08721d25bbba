#!/usr/bin/env bash
# `tidewell --link` with nobody to share with: on loopback with no peer it
# plays exactly as without Link (700 in the tempo field: a beat every
# 85.714 ms, within 0.2 %); with no network at all (loopback down) it plays
# the same, unsynced, and the debug log says why.
#   link_alone_test.sh RUN_DIR BEAT_GRID GROWTH_WATCH
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e_tidewell/e2e_lib.sh"
. "$here/../e2e_tidewell/timing_lib.sh"
. "$here/link_lib.sh"
enter_private_network "$@"
run_dir=$1
TIMING_BEAT_GRID=$2
TIMING_GROWTH_WATCH=$3
on_exit stop_growth_log

start_private_display
make_workdir "$run_dir"
make_click_folder
write_click_settings 3
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw"

# play_linked LABEL: five seconds of tidewell --link, its beats measured.
play_linked() {
  rm -f "$E2E_WORKDIR/out.raw" "$E2E_WORKDIR/growth.log"
  start_tidewell --link
  start_growth_log
  wait_for_stream_seconds 1.5
  local from to
  from=$(stream_seconds)
  wait_for_stream_seconds +5
  to=$(stream_seconds)
  end_tidewell Escape 5000
  stop_growth_log
  expect_beats "$from" "$to" 85.714287 0.2 "$1"
}

loopback_with_multicast
play_linked "no peer on the network"
grep -q "^Link on" "$E2E_WORKDIR/data/debug.txt" || fail "no peer: the debug log does not say Link is on"

ip link set lo down || fail "could not take loopback down"
play_linked "no network"
grep -q "^Link unavailable" "$E2E_WORKDIR/data/debug.txt" ||
  fail "no network: the debug log says nothing: $(cat "$E2E_WORKDIR/data/debug.txt")"
echo "link alone test passed"
