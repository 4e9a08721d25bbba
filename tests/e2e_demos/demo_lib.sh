# Sourced by the end-to-end scripts here: a scratch folder, the player's
# clean-up, and waiting for the sound SDL's disk driver writes.
# Sets SCRATCH; the script sets PLAYER_PID while a player runs.
. "$(dirname "${BASH_SOURCE[0]}")/../support/private_display.sh"
PLAYER_PID=""
SCRATCH=$(mktemp -d)
on_exit 'rm -rf "$SCRATCH"'
on_exit '[ -n "$PLAYER_PID" ] && kill -9 "$PLAYER_PID"'

# wait_for_stream RAW SECONDS: waits until the disk driver has written that
# many seconds of 48 kHz stereo float (the driver writes at about real-time
# pace), at most four times as long in wall time; fails when the player ends.
wait_for_stream() {
  local bytes=$(( $2 * 48000 * 8 )) _
  for _ in $(seq $(( $2 * 40 ))); do
    [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -ge "$bytes" ] && return 0
    kill -0 "$PLAYER_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
