# Shared steps of the end-to-end scripts: a display, a scratch copy of the
# working directory, starting and ending the program.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Uses the display of the test run, or starts a private Xvfb.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local n
  for n in $(seq 150 200); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
  fail "no display"
}

# A scratch copy of the assembled working directory.
make_workdir() {
  local run_dir=$1
  E2E_WORKDIR=$(mktemp -d)
  cp -r "$run_dir"/. "$E2E_WORKDIR"/
  rm -f "$E2E_WORKDIR"/data/debug.txt "$E2E_WORKDIR"/data/settings.txt
}

cleanup_e2e() {
  [ -n "${E2E_PID:-}" ] && kill -9 "$E2E_PID" 2>/dev/null
  [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
  [ -n "${E2E_WORKDIR:-}" ] && rm -rf "$E2E_WORKDIR"
  return 0
}

# Starts ./tidewell in the scratch directory; E2E_PID and E2E_WINDOW are set
# once its window is up.
start_tidewell() {
  (cd "$E2E_WORKDIR" && exec ./tidewell) >"$E2E_WORKDIR/stdout.txt" 2>&1 &
  E2E_PID=$!
  E2E_WINDOW=""
  for _ in $(seq 100); do
    E2E_WINDOW=$(xdotool search --onlyvisible --name '^Direct Draw Swirlgate Example$' 2>/dev/null | tail -n 1)
    [ -n "$E2E_WINDOW" ] && break
    kill -0 "$E2E_PID" 2>/dev/null || fail "tidewell ended at start: $(cat "$E2E_WORKDIR/stdout.txt")"
    sleep 0.1
  done
  [ -n "$E2E_WINDOW" ] || fail "no window"
}

# Waits for the program to end; prints its exit code and the time it took in
# milliseconds.
wait_for_exit() {
  local limit_ms=$1 start now
  start=$(date +%s%N)
  while kill -0 "$E2E_PID" 2>/dev/null; do
    now=$(date +%s%N)
    if [ $(( (now - start) / 1000000 )) -gt "$limit_ms" ]; then
      echo "timeout"; return
    fi
    sleep 0.02
  done
  wait "$E2E_PID"
  local code=$?
  now=$(date +%s%N)
  echo "$code $(( (now - start) / 1000000 ))"
  E2E_PID=""
}
