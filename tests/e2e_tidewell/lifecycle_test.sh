#!/usr/bin/env bash
# The main program starts from the launcher's default settings, logs its four
# start-up lines, and ends with exit code 0 on Escape, F12 and SIGTERM; it
# still runs without a "data" folder.
set -u
run_dir=$1
. "$(dirname "$0")/e2e_lib.sh"
export SDL_AUDIODRIVER=dummy

start_private_display
make_workdir "$run_dir"
printf '%s' "1,0,0,0,0,0,0,2,2,demo1,currently disabled," >"$E2E_WORKDIR/data/settings.txt"

expected_log=$'DEBUG LOG\nstarting up\ndemo1/\nloaded sounds up'

for key in Escape F12; do
  echo "garbage from an earlier run" >"$E2E_WORKDIR/data/debug.txt"
  start_tidewell  # returns once the log says the sounds are loaded
  log=$(cat "$E2E_WORKDIR/data/debug.txt")
  [ "$log" = "$expected_log" ] || fail "debug log after start was: $log"
  xdotool key --window "$E2E_WINDOW" "$key"
  wait_for_exit 1000
  echo "$key: exit code $E2E_EXIT after $E2E_MS ms"
  [ "$E2E_EXIT" = "0" ] || fail "$key did not end the program with 0 within a second ($E2E_EXIT)"
done

start_tidewell
kill -TERM "$E2E_PID"
wait_for_exit 1000
echo "SIGTERM: exit code $E2E_EXIT after $E2E_MS ms"
[ "$E2E_EXIT" = "0" ] || fail "SIGTERM did not end the program with 0 ($E2E_EXIT)"

# Without "data" there is no log and no settings file, and it plays on.
rm -rf "$E2E_WORKDIR/data"
start_tidewell
sleep 1  # a second of playing on, watched
kill -0 "$E2E_PID" 2>/dev/null || fail "tidewell ended without a data folder"
[ ! -e "$E2E_WORKDIR/data" ] || fail "a data folder appeared"
xdotool key --window "$E2E_WINDOW" Escape
wait_for_exit 1000
[ "$E2E_EXIT" = "0" ] || fail "Escape without data ended with $E2E_EXIT"

