# Shared steps of the Link runs: a private network namespace with loopback
# only (nothing leaves the machine), a JACK server without hardware, and
# LinkHut, a real Link peer, driven through a pseudo-terminal.
#   . link_lib.sh   (after e2e_lib.sh)

# Runs the calling script again inside a namespace of its own; exits 77
# (skipped) where one cannot be made (it needs root, as in CI).
enter_private_network() {
  if [ "${TIDEWELL_IN_NETNS:-}" = 1 ]; then return; fi
  if ! unshare -n true 2>/dev/null; then
    echo "SKIP: cannot make a private network namespace (needs root)"
    exit 77
  fi
  # A mount namespace too, for a /dev/shm of its own: JACK keeps its table of
  # servers there, and servers that died elsewhere on the machine fill it.
  exec unshare -n -m env TIDEWELL_IN_NETNS=1 bash "$0" "$@"
}

# Loopback up with multicast, which is all Link needs to find a peer.
loopback_with_multicast() {
  ip link set lo up && ip link set lo multicast on && ip route add 224.0.0.0/4 dev lo ||
    fail "could not set up loopback in the namespace"
}

private_shared_memory() {
  mount -t tmpfs -o mode=1777 tmpfs /dev/shm || fail "could not mount a private /dev/shm"
}

# A JACK server of the test's own (LinkHut's audio needs one).
start_jack() {
  private_shared_memory
  export JACK_DEFAULT_SERVER=tidewell_link JACK_NO_AUDIO_RESERVATION=1
  jackd -d dummy -r 48000 -p 256 >"$E2E_WORKDIR/jackd.log" 2>&1 &
  LINK_JACK_PID=$!
  for _ in $(seq 100); do jack_lsp >/dev/null 2>&1 && return; sleep 0.1; done
  fail "the JACK server did not start: $(cat "$E2E_WORKDIR/jackd.log")"
}

# LinkHut reads single keys from its terminal; each write to fd 3 is one.
start_linkhut() {
  mkfifo "$E2E_WORKDIR/linkhut.in"
  exec 3<>"$E2E_WORKDIR/linkhut.in"
  script -qfc LinkHut "$E2E_WORKDIR/linkhut.txt" <&3 >/dev/null 2>&1 &
  LINK_HUT_PID=$!
}

# Types keys into LinkHut one at a time (it takes one key per read).
linkhut_keys() {
  local keys=$1 i
  for ((i = 0; i < ${#keys}; i++)); do
    printf '%s' "${keys:i:1}" >&3
    sleep 0.03
  done
}

# A field of LinkHut's latest whole status line (enabled | peers | quantum |
# start stop sync | tempo | beats | metro), spaces removed.
linkhut_field() {
  tail -c 600 "$E2E_WORKDIR/linkhut.txt" 2>/dev/null | tr '\r' '\n' | grep '|' | tail -n 2 | head -n 1 |
    awk -F'|' -v n="$1" '{ gsub(/ /, "", $n); print $n }'
}

# wait_linkhut FIELD VALUE SECONDS: true once the field reads VALUE.
wait_linkhut() {
  local limit=$(( $3 * 20 )) i
  for ((i = 0; i < limit; i++)); do
    [ "$(linkhut_field "$1")" = "$2" ] && return 0
    sleep 0.05
  done
  return 1
}

stop_link_peers() {
  if [ -n "${LINK_HUT_PID:-}" ]; then
    printf q >&3 2>/dev/null
    sleep 0.2
    kill "$LINK_HUT_PID" 2>/dev/null
  fi
  [ -n "${LINK_JACK_PID:-}" ] && kill "$LINK_JACK_PID" 2>/dev/null
  LINK_HUT_PID="" LINK_JACK_PID=""
  return 0
}

# expect_spacing FROM TO INTERVAL TOLERANCE_PCT LABEL: the beats between those
# stream seconds come every INTERVAL ms within the tolerance, timed by when
# the disk driver wrote their frames.
expect_spacing() {
  local result spacing
  result=$("$TIMING_BEAT_GRID" "$E2E_WORKDIR/out.raw" --interval "$3" --threshold 0.02 \
      --growth "$E2E_WORKDIR/growth.log" --from "$1" --to "$2")
  spacing=$(sed -n 's/^frame_clock_spacing_ms=//p' <<<"$result")
  echo "$5: beats every $spacing ms (want $3 +-$4 %), $(sed -n 's/^onsets=//p' <<<"$result") onsets, $(sed -n 's/^frame_clock_rms_ms=//p' <<<"$result") ms rms"
  [ -n "$spacing" ] || fail "$5: no beats found: $result"
  awk -v s="$spacing" -v i="$3" -v t="$4" 'BEGIN { exit !(s >= i * (1 - t / 100) && s <= i * (1 + t / 100)) }' ||
    fail "$5: beats every $spacing ms, want $3 ms +-$4 %"
}
