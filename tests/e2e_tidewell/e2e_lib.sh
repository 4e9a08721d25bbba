# Shared steps of the end-to-end scripts: a display, a scratch copy of the
# working directory, starting and ending the program. Register more clean-up
# with on_exit (see tests/support/private_display.sh), not with a trap.

fail() { echo "FAIL: $*" >&2; exit 1; }

. "$(dirname "${BASH_SOURCE[0]}")/../support/private_display.sh"
on_exit cleanup_e2e

# A scratch copy of the assembled working directory, in place of the last one.
make_workdir() {
  local run_dir=$1
  [ -n "${E2E_WORKDIR:-}" ] && rm -rf "$E2E_WORKDIR"
  E2E_WORKDIR=$(mktemp -d)
  cp -r "$run_dir"/. "$E2E_WORKDIR"/
  rm -f "$E2E_WORKDIR"/data/debug.txt "$E2E_WORKDIR"/data/settings.txt "$E2E_WORKDIR"/data/choices.txt
}

cleanup_e2e() {
  [ -n "${E2E_PID:-}" ] && kill -9 "$E2E_PID" 2>/dev/null
  [ -n "${E2E_WORKDIR:-}" ] && rm -rf "$E2E_WORKDIR"
  return 0
}

# Starts ./tidewell (with the arguments given) in the scratch directory;
# E2E_PID and E2E_WINDOW are set once start-up has finished. SDL makes its X
# window anew when the renderer comes up, so the window is looked for only
# after that.
start_tidewell() {
  (cd "$E2E_WORKDIR" && exec ./tidewell "$@") >"$E2E_WORKDIR/stdout.txt" 2>&1 &
  E2E_PID=$!
  E2E_WINDOW=""
  E2E_WINDOW_STOOD=0
  # 30 s and more: four programs may start side by side.
  wait_until 30 started_up || fail "no window"
}

# True once the window has stood for half a second and the log (where there
# is one) says the sounds are loaded.
started_up() {
  if ! kill -0 "$E2E_PID" 2>/dev/null; then
    wait "$E2E_PID"
    fail "tidewell ended at start with $?: $(cat "$E2E_WORKDIR/stdout.txt"); its log: $(cat "$E2E_WORKDIR/data/debug.txt" 2>&1)"
  fi
  local window
  window=$(xdotool search --onlyvisible --name '^Direct Draw Swirlgate Example$' 2>/dev/null | tail -n 1)
  if [ -n "$window" ] && [ "$window" = "$E2E_WINDOW" ]; then E2E_WINDOW_STOOD=$((E2E_WINDOW_STOOD + 1)); else E2E_WINDOW_STOOD=0; fi
  E2E_WINDOW=$window
  [ "$E2E_WINDOW_STOOD" -ge 5 ] && { [ ! -d "$E2E_WORKDIR/data" ] || grep -q "loaded sounds up" "$E2E_WORKDIR/data/debug.txt" 2>/dev/null; }
}

# end_tidewell KEY|TERM LIMIT_MS: Escape or F12 in the window, or SIGTERM;
# the program must end within LIMIT_MS with exit code 0 (E2E_MS says when).
# The key is let go through the server, not sent to the window: the window
# is gone by then, a release sent to it is lost (BadWindow), and the press,
# which reached the focused window through the server, stays held on this
# display; its auto-repeats end the next program started here at once.
end_tidewell() {
  if [ "$1" = TERM ]; then kill -TERM "$E2E_PID"; else xdotool keydown --window "$E2E_WINDOW" "$1"; fi
  wait_for_exit "$2"
  [ "$1" = TERM ] || xdotool keyup "$1"
  [ "$E2E_EXIT" = 0 ] || fail "$1 ended tidewell with $E2E_EXIT (after $E2E_MS ms): $(tail -c 3000 "$E2E_WORKDIR/stdout.txt")"
}

# Waits for the program to end; sets E2E_EXIT (its exit code, or "timeout")
# and E2E_MS (how long it took). Call it directly, not in $(...): only this
# shell can collect the exit code of its child.
wait_for_exit() {
  local limit_ms=$1 start
  start=$(date +%s%N)
  E2E_EXIT=timeout
  while kill -0 "$E2E_PID" 2>/dev/null; do
    E2E_MS=$(( ($(date +%s%N) - start) / 1000000 ))
    [ "$E2E_MS" -gt "$limit_ms" ] && return
    sleep 0.02
  done
  wait "$E2E_PID"
  E2E_EXIT=$?
  E2E_MS=$(( ($(date +%s%N) - start) / 1000000 ))
  E2E_PID=""
}

# shoot NAME: the whole screen as $E2E_WORKDIR/NAME.rgb (24-bit RGB rows);
# sets SCREEN_W and SCREEN_H.
shoot() {
  read -r SCREEN_W SCREEN_H < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
  import -silent -window root -depth 8 "rgb:$E2E_WORKDIR/$1.rgb" || fail "no screenshot"
}
