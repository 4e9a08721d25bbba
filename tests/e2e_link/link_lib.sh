# Shared steps of the Link runs: a private network namespace with loopback
# only (nothing leaves the machine), a JACK server without hardware, and
# LinkHut, a real Link peer, driven through a pseudo-terminal.
#   . link_lib.sh   (after e2e_lib.sh)
. "$(dirname "${BASH_SOURCE[0]}")/../support/private_jack.sh"

# Runs the calling script again inside a network namespace with loopback
# only, and a mount namespace for a /dev/shm of its own; exits 77 (skipped)
# where they cannot be made (they need root, as in CI).
enter_private_network() { enter_private_namespaces -n "$@"; }

# Loopback up with multicast, which is all Link needs to find a peer.
loopback_with_multicast() {
  ip link set lo up && ip link set lo multicast on && ip route add 224.0.0.0/4 dev lo ||
    fail "could not set up loopback in the namespace"
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
  local field=$1 value=$2
  wait_until "$3" eval '[ "$(linkhut_field "$field")" = "$value" ]'
}

stop_link_peers() {
  if [ -n "${LINK_HUT_PID:-}" ]; then
    printf q >&3 2>/dev/null
    wait_until 2 eval '! kill -0 "$LINK_HUT_PID" 2>/dev/null'
    kill "$LINK_HUT_PID" 2>/dev/null
  fi
  stop_private_jack
  LINK_HUT_PID=""
  return 0
}
