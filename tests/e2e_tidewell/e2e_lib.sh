# Shared steps of the end-to-end scripts: a display, a scratch copy of the
# working directory, starting and ending the program.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Uses the display of the test run, or starts a private Xvfb; with a screen
# size (WIDTHxHEIGHT) always a private one of that size.
ensure_display() {
  local size=${1:-}
  if [ -z "$size" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local n
  for n in $(seq 150 200); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 "${size:-1024x768}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
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
  rm -f "$E2E_WORKDIR"/data/debug.txt "$E2E_WORKDIR"/data/settings.txt "$E2E_WORKDIR"/data/choices.txt
}

cleanup_e2e() {
  [ -n "${E2E_PID:-}" ] && kill -9 "$E2E_PID" 2>/dev/null
  [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
  [ -n "${E2E_WORKDIR:-}" ] && rm -rf "$E2E_WORKDIR"
  return 0
}

# Starts ./tidewell (with the arguments given) in the scratch directory;
# E2E_PID and E2E_WINDOW are set
# once start-up has finished. SDL makes its X window anew when the renderer
# comes up, so the window is looked for only after that.
start_tidewell() {
  (cd "$E2E_WORKDIR" && exec ./tidewell "$@") >"$E2E_WORKDIR/stdout.txt" 2>&1 &
  E2E_PID=$!
  E2E_WINDOW=""
  local previous="" stable=0
  for _ in $(seq 150); do
    if ! kill -0 "$E2E_PID" 2>/dev/null; then
      wait "$E2E_PID"
      fail "tidewell ended at start with $?: $(cat "$E2E_WORKDIR/stdout.txt")"
    fi
    E2E_WINDOW=$(xdotool search --onlyvisible --name '^Direct Draw Swirlgate Example$' 2>/dev/null | tail -n 1)
    if [ -n "$E2E_WINDOW" ] && [ "$E2E_WINDOW" = "$previous" ]; then
      stable=$((stable + 1))
    else
      stable=0
    fi
    if [ "$stable" -ge 5 ]; then
      if [ ! -d "$E2E_WORKDIR/data" ] || grep -q "loaded sounds up" "$E2E_WORKDIR/data/debug.txt" 2>/dev/null; then
        return
      fi
    fi
    previous=$E2E_WINDOW
    sleep 0.1
  done
  fail "no window"
}

# Waits for the program to end; sets E2E_EXIT (its exit code, or "timeout")
# and E2E_MS (how long it took). Call it directly, not in $(...): only this
# shell can collect the exit code of its child.
wait_for_exit() {
  local limit_ms=$1 start now
  start=$(date +%s%N)
  E2E_EXIT=timeout
  while kill -0 "$E2E_PID" 2>/dev/null; do
    now=$(date +%s%N)
    E2E_MS=$(( (now - start) / 1000000 ))
    [ "$E2E_MS" -gt "$limit_ms" ] && return
    sleep 0.02
  done
  wait "$E2E_PID"
  E2E_EXIT=$?
  now=$(date +%s%N)
  E2E_MS=$(( (now - start) / 1000000 ))
  E2E_PID=""
}
