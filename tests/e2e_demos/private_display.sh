# Sourced by the end-to-end scripts here: a display of their own, so nothing
# else on the machine takes the focus, and the clean-up of it and of the
# player and scratch folder they start.
#   start_private_display FIRST LAST    picks a free number in FIRST..LAST
# Sets DISPLAY, XVFB_PID, SCRATCH; the script sets PLAYER_PID while a player runs.
XVFB_PID=""
PLAYER_PID=""
SCRATCH=$(mktemp -d)
cleanup() {
  [ -n "$PLAYER_PID" ] && kill -9 "$PLAYER_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$SCRATCH"
}
trap cleanup EXIT

start_private_display() {
  local n
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
