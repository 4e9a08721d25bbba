#!/bin/bash
# A long capture run with the real programs, not part of CI:
#   bash bench/soak/soak.sh build/release [SECONDS]     (default 600)
# The launcher records a 1000 Hz tone through SDL's disk capture round the
# eleven autoaudio files while the main program plays them. Every 10 s the
# resident memory of the launcher and of the first main program is sampled;
# at the end the launcher gets SIGTERM. Reported: each process's memory after
# the first minute (min, max, spread against the first sample after warm-up),
# and whether every autoaudio file is a whole sound file. It fails when a
# process has died, when memory moved by more than 5 % after warm-up, or when
# a file is broken or a temporary file is left.
set -u
BUILD=$(cd "$1" && pwd)
SECONDS_TO_RUN=${2:-600}
RUN=$BUILD/run
T=$(mktemp -d /tmp/soak-XXXXXX)
XVFB_PID=
fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
  [ -n "${LAUNCHER_PID:-}" ] && kill -9 "$LAUNCHER_PID" 2>/dev/null
  for p in $(pgrep -x tidewell); do
    [ "$(readlink "/proc/$p/cwd")" = "$T/home" ] && kill -9 "$p" 2>/dev/null
  done
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$T"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  Xvfb ":${SOAK_DISPLAY:-59}" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=:${SOAK_DISPLAY:-59}
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

# A working directory of its own, filled from the build's run folder.
export TIDEWELL_HOME=$T/home
sox -n -t raw -r 8000 -e unsigned -b 8 -c 1 "$T/in.raw" synth $((SECONDS_TO_RUN + 60)) sine 1000 vol 0.5 ||
  fail "sox"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILEIN=$T/in.raw SDL_DISKAUDIOFILE=/dev/null

. "$(dirname "$0")/../../tests/e2e_launcher/dialog_lib.sh"
rss() { awk '/^VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null; }
cpuSeconds() { awk -v hz="$(getconf CLK_TCK)" '{printf "%.1f", ($14 + $15) / hz}' "/proc/$1/stat"; }

"$RUN/tidewell-launcher" 2>"$T/launcher.err" &
LAUNCHER_PID=$!
WID=$(waitForWindow '^Tidewell Setup$' 20)
[ -n "$WID" ] || fail "no setup dialog"
sleep 0.5
clickControl "$WID" 129 58 92 8   # 8000 Hz, 8-bit Mono
sleep 0.3
clickControl "$WID" 231 70 50 14  # OK of "Run From Sound Capture"
MAIN_PID=
for _ in $(seq 100); do
  for p in $(pgrep -x tidewell); do [ "$(readlink "/proc/$p/cwd")" = "$TIDEWELL_HOME" ] && MAIN_PID=$p; done
  [ -n "$MAIN_PID" ] && break
  sleep 0.1
done
[ -n "$MAIN_PID" ] || fail "the main program did not start"
# The main program plays only while its window has the focus; the second
# one, started after autoaudio/4.wav, would take it. Without a window
# manager the focus is handed back by hand at every sample.
keepMainFocused() {
  local window
  window=$(xdotool search --all --pid "$MAIN_PID" --onlyvisible --name '^Direct Draw Swirlgate Example$' 2>/dev/null | tail -1)
  [ -n "$window" ] && xdotool windowraise "$window" windowfocus "$window" 2>/dev/null
}

echo "seconds launcher_kb tidewell_kb tidewell_cpu_s" > "$T/memory.txt"
start=$(date +%s)
while [ $(( $(date +%s) - start )) -lt "$SECONDS_TO_RUN" ]; do
  kill -0 "$LAUNCHER_PID" 2>/dev/null || fail "the launcher died: $(tail -3 "$T/launcher.err")"
  kill -0 "$MAIN_PID" 2>/dev/null || fail "the main program died"
  keepMainFocused
  echo "$(( $(date +%s) - start )) $(rss "$LAUNCHER_PID") $(rss "$MAIN_PID") $(cpuSeconds "$MAIN_PID")" >> "$T/memory.txt"
  sleep 10
done
echo "cpu: launcher $(cpuSeconds "$LAUNCHER_PID") s, tidewell $(cpuSeconds "$MAIN_PID") s over $SECONDS_TO_RUN s"
grep -q "loaded sounds up" "$TIDEWELL_HOME/data/debug.txt" || fail "the main program did not start up"
kill -TERM "$LAUNCHER_PID"
for _ in $(seq 50); do kill -0 "$LAUNCHER_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$LAUNCHER_PID" 2>/dev/null && fail "the launcher did not end on SIGTERM"
wait "$LAUNCHER_PID"
LAUNCHER_PID=
kill -0 "$MAIN_PID" 2>/dev/null || fail "the main program died at the end"

python3 - "$T/memory.txt" <<'PY' || exit 1
import sys
rows = [line.split() for line in open(sys.argv[1]).read().splitlines()[1:]]
rows = [(int(r[0]), int(r[1]), int(r[2])) for r in rows]
rows = [r for r in rows if r[0] >= 60] or rows
ok = True
for name, column in (("launcher", 1), ("tidewell", 2)):
    values = [r[column] for r in rows]
    first, low, high = values[0], min(values), max(values)
    spread = max(high - first, first - low) / first * 100
    print(f"{name}: {len(values)} samples after warm-up, first {first} kB, min {low} kB, "
          f"max {high} kB, last {values[-1]} kB, spread {spread:.1f} %")
    ok = ok and spread <= 5.0
sys.exit(0 if ok else 1)
PY
[ $? = 0 ] || fail "memory is not flat: $(cat "$T/memory.txt")"

checkTakes "$TIDEWELL_HOME/autoaudio"
echo "autoaudio: every file read by sox with sizes matching its data"
echo "drain lines: $(grep -c '^Writing ' "$T/launcher.err")"
echo PASS
