#!/usr/bin/env bash
# The main program starts from the launcher's default settings, logs its four
# start-up lines (anew at every start), and ends with exit code 0 within a
# second on Escape, F12 and SIGTERM; it still runs without a "data" folder.
set -u
. "$(dirname "$0")/e2e_lib.sh"
export SDL_AUDIODRIVER=dummy
start_private_display
make_workdir "$1"
printf '%s' "1,0,0,0,0,0,0,2,2,demo1,currently disabled," >"$E2E_WORKDIR/data/settings.txt"

for how in Escape F12 TERM; do
  echo "garbage from an earlier run" >"$E2E_WORKDIR/data/debug.txt"
  start_tidewell  # returns once the log says the sounds are loaded
  log=$(cat "$E2E_WORKDIR/data/debug.txt")
  [ "$log" = $'DEBUG LOG\nstarting up\ndemo1/\nloaded sounds up' ] || fail "debug log after start was: $log"
  end_tidewell "$how" 1000
done

# Without "data" there is no log and no settings file, and it plays on.
rm -rf "$E2E_WORKDIR/data"
start_tidewell
sleep 1  # a second of playing on, watched: nothing to poll for
kill -0 "$E2E_PID" 2>/dev/null || fail "tidewell ended without a data folder"
[ ! -e "$E2E_WORKDIR/data" ] || fail "a data folder appeared"
end_tidewell Escape 1000
