# A JACK server without hardware, of the test's own.
# JACK keeps its table of servers in /dev/shm and refuses new servers once
# servers that died elsewhere on the machine have filled it ("Too many servers
# already active"), so where it can (root, as in CI) a test runs in a mount
# namespace with an empty /dev/shm of its own.
#   . private_jack.sh   (after private_display.sh and a fail function)

# Runs the calling script again in a mount namespace of its own (extra
# unshare options, such as -n, may come first); carries on as it is where
# one cannot be made.
enter_private_namespaces() {
  if [ "${TIDEWELL_IN_NAMESPACE:-}" = 1 ]; then return; fi
  local options=()
  while [ $# -gt 0 ] && [ "${1#-}" != "$1" ]; do options+=("$1"); shift; done
  if unshare "${options[@]}" -m true 2>/dev/null; then
    exec unshare "${options[@]}" -m env TIDEWELL_IN_NAMESPACE=1 bash "$0" "$@"
  fi
  [ ${#options[@]} -eq 0 ] || { echo "SKIP: cannot make a namespace ${options[*]} (needs root)"; exit 77; }
}

# start_private_jack LOG PERIOD_FRAMES: JACK_DEFAULT_SERVER names our server
# for every JACK client this script starts. Stopped with stop_private_jack.
start_private_jack() {
  if [ "${TIDEWELL_IN_NAMESPACE:-}" = 1 ]; then
    mount -t tmpfs -o mode=1777 tmpfs /dev/shm || fail "could not mount a private /dev/shm"
  fi
  export JACK_DEFAULT_SERVER="tidewell-$$" JACK_NO_AUDIO_RESERVATION=1
  PRIVATE_JACK_LOG=$1
  jackd --no-realtime -d dummy -r 48000 -p "$2" >"$PRIVATE_JACK_LOG" 2>&1 &
  PRIVATE_JACK_PID=$!
  wait_until 30 eval 'jack_lsp >/dev/null 2>&1' || fail "the JACK server did not start: $(cat "$PRIVATE_JACK_LOG")"
}

# Ends the server with SIGTERM, which takes its shared-memory entries with it
# (one killed outright leaves them behind), and removes what clients still
# open when it went left.
stop_private_jack() {
  [ -n "${PRIVATE_JACK_PID:-}" ] || return 0
  kill -TERM "$PRIVATE_JACK_PID" 2>/dev/null
  wait_until 5 eval '! kill -0 "$PRIVATE_JACK_PID" 2>/dev/null'
  kill -9 "$PRIVATE_JACK_PID" 2>/dev/null
  wait "$PRIVATE_JACK_PID" 2>/dev/null
  PRIVATE_JACK_PID=""
  rm -f /dev/shm/jack_sem.*_"$JACK_DEFAULT_SERVER"_* /dev/shm/jack_"$JACK_DEFAULT_SERVER"_*
  return 0
}
