# Shared steps of the launcher's end-to-end scripts.

# Dialog units to pixels, as the dialogs lay themselves out.
px() { echo $(( ($1 * 7 + 2) / 4 )); }
py() { echo $(( ($1 * 14 + 4) / 8 )); }
# The id of the visible window titled TITLE, waiting up to SECONDS for it.
# xdotool's own --sync wait ends with an X error when another window goes
# away while it searches, so this asks again instead.
waitForWindow() {  # title regex, seconds
  local deadline=$(( $(date +%s%N) / 1000000 + $2 * 1000 )) id
  while [ $(( $(date +%s%N) / 1000000 )) -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
clickControl() {  # window, x, y, width, height in dialog units
  xdotool mousemove --window "$1" $(( $(px "$2") + $(px "$4") / 2 )) $(( $(py "$3") + $(py "$5") / 2 )) click 1
}

# Every file of an autoaudio folder is a whole take: read by sox, with RIFF
# and data sizes that match its length, and no temporary file beside them.
checkTakes() {
  local folder=$1 f
  ls "$folder" | grep -v '\.wav$' && fail "files left besides the takes in $folder"
  for f in "$folder"/*.wav; do
    sox "$f" -n stat 2>/dev/null || fail "sox cannot read $f"
    python3 - "$f" <<'PY' || fail "sizes of $f"
import struct, sys
data = open(sys.argv[1], "rb").read()
riff_size, = struct.unpack_from("<I", data, 4)
data_size, = struct.unpack_from("<I", data, 52)
assert riff_size == len(data) - 8 and data_size == len(data) - 56 and data_size > 0, (riff_size, data_size, len(data))
print(f"{sys.argv[1]}: {data_size} bytes of sound")
PY
  done
}
