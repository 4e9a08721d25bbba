#!/usr/bin/env bash
# How late a beat's hits would start for a lookahead: the program's frames
# (ticks) are timed by a preloaded wrapper of SDL's present while it plays on
# the disk driver, full screen under a virtual display. A beat's ideal time
# falls evenly within the spacing before the tick that counts it, so a hit
# starts late only where that spacing exceeds the lookahead, and then by at
# most the excess. Prints the spacing's spread and, for a few lookaheads, the
# share of beats that would start late and by how much on average.
#   tick_spacing.sh BUILD_DIR [SECONDS]     (TIMING_REALTIME=1 as in tempo_sweep.sh)
set -u
build=$(cd "$1" && pwd)
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tests/e2e_tidewell/e2e_lib.sh"
. "$here/../../tests/e2e_tidewell/timing_lib.sh"
start_private_display
echo "load: $(uptime | sed 's/.*load average: //')"
make_workdir "$build/run"
make_click_folder
write_click_settings 3
cc -shared -fPIC -O2 -o "$E2E_WORKDIR/present_times.so" "$here/present_times.c" -ldl || fail "no preload"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw" PRESENT_TIMES_FILE=$E2E_WORKDIR/presents.txt
LD_PRELOAD=$E2E_WORKDIR/present_times.so start_tidewell
if [ -n "${TIMING_REALTIME:-}" ]; then chrt -f -a -p 10 "$E2E_PID" || fail "no real-time priority"; fi
sleep "$seconds"
kill -USR1 "$E2E_PID"
sleep 0.3
xdotool key --window "$E2E_WINDOW" Escape
wait_for_exit 2000
cp "$E2E_WORKDIR/presents.txt" "${TIMING_KEEP:-/dev/null}" 2>/dev/null
awk 'NR > 120 { if (p) print $1 - p; p = $1 }' "$E2E_WORKDIR/presents.txt" | sort -n | awk '
  { d[n++] = $1; sum += $1 }
  END {
    printf "frames: %d, spacing mean %.3f ms, median %.3f, p99 %.3f, p99.9 %.3f, max %.3f\n",
           n, sum / n, d[int(n / 2)], d[int(n * 0.99)], d[int(n * 0.999)], d[n - 1]
    split("12 15 16 16.667 17 18 20", look, " ")
    for (k = 1; k <= 7; k++) {
      L = look[k]; late = 0; excess = 0
      # A beat in a spacing s is late with chance (s - L) / s, by (s - L) / 2 on average.
      for (i = 0; i < n; i++) if (d[i] > L) { late += d[i] - L; excess += (d[i] - L) ^ 2 / 2 }
      printf "lookahead %6.3f ms: %.3f %% of beats late, by %.3f ms on average when late\n",
             L, 100 * late / sum, (late > 0 ? excess / late : 0)
    }
  }'
