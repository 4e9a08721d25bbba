# Shared steps of the launcher's end-to-end scripts (after private_display.sh).

# Dialog units to pixels, as the dialogs lay themselves out.
px() { echo $(( ($1 * 7 + 2) / 4 )); }
py() { echo $(( ($1 * 14 + 4) / 8 )); }
# The id of the visible window titled TITLE, waiting up to SECONDS for it.
# xdotool's own --sync wait ends with an X error when another window goes
# away while it searches, so this asks again instead.
waitForWindow() {  # title regex, seconds
  local title=$1 id
  wait_until "$2" eval 'id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1); [ -n "$id" ]' &&
    echo "$id"
}
waitForWindowGone() {  # title regex, seconds
  local title=$1
  wait_until "$2" eval '! xdotool search --onlyvisible --name "$title" >/dev/null 2>&1'
}
clickControl() {  # window, x, y, width, height in dialog units
  xdotool mousemove --window "$1" $(( $(px "$2") + $(px "$4") / 2 )) $(( $(py "$3") + $(py "$5") / 2 )) click 1
}
gone() { ! kill -0 "$1" 2>/dev/null; }

# Every file of an autoaudio folder is a whole take: read by sox, with RIFF
# and data sizes that match its length, and no temporary file beside them.
checkTakes() {
  local folder=$1 f
  ls "$folder" | grep -v '\.wav$' && fail "files left besides the takes in $folder"
  for f in "$folder"/*.wav; do
    sox "$f" -n stat 2>/dev/null || fail "sox cannot read $f"
  done
  python3 "$(dirname "${BASH_SOURCE[0]}")/check_recording.py" --take "$folder"/*.wav || fail "the takes in $folder"
}
