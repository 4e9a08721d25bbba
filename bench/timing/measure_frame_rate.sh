#!/usr/bin/env bash
# Measures the running program under Xvfb: presents a second (counted by a
# preloaded wrapper of SDL_RenderPresent) and CPU load (user + system ticks
# from /proc over the same span), while the percussive demo plays.
# measure_frame_rate.sh RUN_DIR [SECONDS]
set -u
run_dir=$1
seconds=${2:-10}
here=$(cd "$(dirname "$0")" && pwd)
tests=$here/../../tests
. "$tests/e2e_tidewell/e2e_lib.sh"

export SDL_AUDIODRIVER=dummy

start_private_display
make_workdir "$run_dir"
printf '%s' "1,7,0,2,0,0,0,3,3,demo1,none," >"$E2E_WORKDIR/data/settings.txt"
cc -shared -fPIC -O2 -o "$E2E_WORKDIR/present_counter.so" "$tests/e2e_picture/present_counter.c" -ldl ||
  fail "could not build the counter"
export PRESENT_COUNT_FILE=$E2E_WORKDIR/presents.txt
export LD_PRELOAD=$E2E_WORKDIR/present_counter.so
start_tidewell
unset LD_PRELOAD
sleep 2

ticks() { awk '{ print $14 + $15 }' "/proc/$E2E_PID/stat"; }
hz=$(getconf CLK_TCK)
kill -USR1 "$E2E_PID"
cpu0=$(ticks)
sleep "$seconds"
kill -USR1 "$E2E_PID"
cpu1=$(ticks)
sleep 0.2
grep '^renderer' "$PRESENT_COUNT_FILE"
read -r n0 t0 < <(grep -v '^renderer' "$PRESENT_COUNT_FILE" | sed -n 1p)
read -r n1 t1 < <(grep -v '^renderer' "$PRESENT_COUNT_FILE" | sed -n 2p)
awk -v n=$((n1 - n0)) -v t=$((t1 - t0)) -v c=$((cpu1 - cpu0)) -v hz="$hz" 'BEGIN {
  s = t / 1e9
  printf "presents: %d in %.2f s = %.1f a second\n", n, s, n / s
  printf "CPU: %.2f s of %.2f s = %.0f %% of one core\n", c / hz, s, 100 * c / hz / s
}'
xdotool key --window "$E2E_WINDOW" Escape
wait_for_exit 2000
