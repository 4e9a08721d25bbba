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

# LinkHut reads single keys from its terminal, written to fd 3.
start_linkhut() {
  mkfifo "$E2E_WORKDIR/linkhut.in"
  exec 3<>"$E2E_WORKDIR/linkhut.in"
  script -qfc LinkHut "$E2E_WORKDIR/linkhut.txt" <&3 >/dev/null 2>&1 &
  LINK_HUT_PID=$!
}

# A field of LinkHut's latest whole status line (enabled | peers | quantum |
# start stop sync | tempo | beats | metro), spaces removed.
linkhut_field() {
  tail -c 600 "$E2E_WORKDIR/linkhut.txt" 2>/dev/null | tr '\r' '\n' | grep '|' | tail -n 2 | head -n 1 |
    awk -F'|' -v n="$1" '{ gsub(/ /, "", $n); print $n }'
}

# linkhut_tempo BPM: LinkHut's tempo stepped there a key at a time, each key
# typed once the step before it shows (two keys typed together can arrive
# in one read, and LinkHut takes only the first).
linkhut_tempo() {
  local target=$1 shown _
  for _ in $(seq 100); do
    shown=$(linkhut_field 5)
    [ "$shown" = "$target.00" ] && return 0
    if awk -v s="$shown" -v t="$target" 'BEGIN { exit !(s < t) }'; then printf e >&3; else printf w >&3; fi
    wait_until 3 eval '[ "$(linkhut_field 5)" != "$shown" ]' || return 1
  done
  return 1
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
