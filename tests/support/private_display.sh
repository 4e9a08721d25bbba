# Sourced by every end-to-end script: an X display of its own, so that the
# end-to-end tests can run side by side (CONTRIBUTING.md shows the use).
#   start_private_display [WIDTHxHEIGHT]   # default 1024x768; exports DISPLAY
#   on_exit COMMAND                        # clean-up at exit, last first; no trap of your own
#   wait_until SECONDS COMMAND...          # polls COMMAND until it succeeds; false after SECONDS
# Xvfb picks the free display number itself (-displayfd), so tests that start
# together never race for one; it is checked to answer and ended at exit.

PRIVATE_DISPLAY_PID=""
E2E_EXIT_COMMANDS=()

on_exit() { E2E_EXIT_COMMANDS=("$1" "${E2E_EXIT_COMMANDS[@]}"); }

wait_until() {
  local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

run_exit_commands() {
  local command
  for command in "${E2E_EXIT_COMMANDS[@]}"; do eval "$command" 2>/dev/null || true; done
  [ -n "$PRIVATE_DISPLAY_PID" ] && kill "$PRIVATE_DISPLAY_PID" 2>/dev/null
  [ -n "${PRIVATE_DISPLAY_FILE:-}" ] && rm -f "$PRIVATE_DISPLAY_FILE"
  return 0
}
trap run_exit_commands EXIT

start_private_display() {
  local size=${1:-1024x768} number="" _
  trap run_exit_commands EXIT  # again, for a script that calls this in a subshell
  PRIVATE_DISPLAY_FILE=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$PRIVATE_DISPLAY_FILE" >/dev/null 2>&1 &
  PRIVATE_DISPLAY_PID=$!
  # Xvfb writes the number and a newline once it accepts connections (read
  # fails until the newline is there); it can take many seconds on a loaded machine.
  for _ in $(seq 600); do
    read -r number <"$PRIVATE_DISPLAY_FILE" && break
    number=""
    kill -0 "$PRIVATE_DISPLAY_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "FAIL: Xvfb did not start" >&2
    exit 1
  fi
  export DISPLAY=":$number"
  xdpyinfo >/dev/null 2>&1 || { echo "FAIL: the display $DISPLAY of Xvfb does not answer" >&2; exit 1; }
}
