#!/bin/bash
# The launcher under Xvfb ("Run From Local Folder" is install_e2e.sh's, with
# the installed programs): a capture run records autoaudio/0.wav
# and 1.wav from a 1000 Hz tone fed through SDL's disk capture and starts the
# main program a second time; closing the capture window ends the launcher;
# SIGTERM during a take finishes it whole. SHOT=path saves a screenshot of
# the setup dialog.
set -u
LAUNCHER=$1
SOURCE_DIR=$2
WORK=$(mktemp -d /tmp/launcher-e2e-XXXXXX)
fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
  [ -f "$WORK/tidewell.pids" ] && while read -r p; do kill "$p" 2>/dev/null; done < "$WORK/tidewell.pids"
  [ -n "${LAUNCHER_PID:-}" ] && kill "$LAUNCHER_PID" 2>/dev/null
  rm -rf "$WORK"
}
. "$SOURCE_DIR/tests/support/private_display.sh"
on_exit cleanup

# A display of its own: no full-screen picture of another test covers the dialogs.
start_private_display

# A stand-in main program beside the launcher that says where it runs and
# stays up a while. The launcher is started from elsewhere: it finds both
# the program and its working directory (data/ beside it) by itself.
mkdir -p "$WORK/data" "$WORK/autoaudio"
cp "$LAUNCHER" "$WORK/launcher"
cat > "$WORK/tidewell" <<'STUB'
#!/bin/sh
echo $$ >> tidewell.pids
exec sleep 60
STUB
chmod +x "$WORK/tidewell"
cd / || exit 1
sox -n -t raw -r 8000 -e unsigned -b 8 -c 1 "$WORK/in.raw" synth 30 sine 1000 vol 0.5 || fail "sox"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILEIN=$WORK/in.raw SDL_DISKAUDIOFILE=/dev/null

. "$SOURCE_DIR/tests/e2e_launcher/dialog_lib.sh"

# The launcher started (with the environment given), "Run From Sound
# Capture" with the first format (8000 Hz, 8-bit Mono): CAP is the capture
# window. The dialog takes clicks only a moment after it shows.
openCaptureWindow() {
  env "$@" "$WORK/launcher" 2>>"$WORK/launcher.err" &
  LAUNCHER_PID=$!
  WID=$(waitForWindow '^Tidewell Setup$' 60) || fail "no setup dialog: $(cat "$WORK/launcher.err")"
  sleep 0.5
  [ -n "${SHOT:-}" ] && import -window "$WID" "$SHOT"
  clickControl "$WID" 129 58 92 8   # first line of the format list
  sleep 0.3
  clickControl "$WID" 231 70 50 14  # OK of "Run From Sound Capture"
  CAP=$(waitForWindow '^Capturing Sound$' 10) || fail "no capture window"
}

# 1. A capture run; only this run's starts of the main program are counted.
cd "$WORK" || exit 1
rm -f tidewell.pids
openCaptureWindow
# The second start comes with the end of autoaudio/4.wav, about 20 s in.
wait_until 30 eval '[ "$(wc -l < tidewell.pids)" -ge 2 ]'
[ "$(head -c 2 data/settings.txt)" = "2," ] || fail "capture settings: '$(cat data/settings.txt)'"
xdotool windowfocus --sync "$CAP" 2>/dev/null
xdotool key --window "$CAP" Escape
wait_until 5 gone "$LAUNCHER_PID" || fail "launcher still runs after closing the capture window"
wait "$LAUNCHER_PID"; RC=$?
[ "$RC" = 1 ] || fail "launcher ended with $RC"
python3 "$SOURCE_DIR/tests/e2e_launcher/check_recording.py" autoaudio/[0-4].wav || fail "autoaudio/0.wav to 4.wav"
[ "$(wc -l < tidewell.pids)" = 2 ] || fail "$(wc -l < tidewell.pids) starts of the main program in the capture run"
# The capture run's main programs have shown what they had to.
xargs kill < tidewell.pids 2>/dev/null

# 2. "Sound file...": FLTK's own chooser (switched on through the user's
# FLTK options, as a user would), the overwrite question about the name with
# ".wav" added, then a new file: 2 s of quiet later "&Record" is pressed, a
# tone sounds for 2 s and "&Record" is pressed again; the file holds the
# tone, not the quiet before the press. Then SIGTERM in the middle of a
# numbered take: the take is finished whole under its own name, every file
# in autoaudio/ is a sound file whose sizes match its data, and no temporary
# file is left.
export HOME=$WORK/home
mkdir -p "$HOME/.fltk/fltk.org"
printf '[options]\nFNFCUsesGTK:0\n' > "$HOME/.fltk/fltk.org/fltk.prefs"
echo "an earlier take" > take1.wav
: > heard.raw  # quiet until the tone is played
SHOT="" openCaptureWindow SDL_DISKAUDIOFILEIN="$WORK/heard.raw"
chooseFile() {  # the name to type, without .wav
  clickControl "$CAP" 7 7 46 13  # "Sound file..."
  local chooser
  chooser=$(waitForWindow '^Save Sound File$' 10) || fail "no chooser"
  sleep 0.5
  # Without a window manager nothing gives the chooser the keyboard by itself.
  xdotool windowfocus --sync "$chooser"
  xdotool type --delay 5 "$WORK/$1"
  xdotool key Delete Return  # no completion of the typed name
}
chooseFile take1
waitForWindow '^Confirm Save As$' 5 >/dev/null || fail "no overwrite question for take1 (take1.wav exists)"
sleep 0.3  # as the dialog: keys count only a moment after it shows
xdotool key Escape  # "No": the chooser comes back
waitForWindowGone '^Confirm Save As$' 5 || fail "the overwrite question stayed"
waitForWindow '^Save Sound File$' 5 >/dev/null || fail "the chooser did not come back"
xdotool key Escape  # cancelled
waitForWindowGone '^Save Sound File$' 5 || fail "the chooser stayed after Escape"
[ "$(cat take1.wav)" = "an earlier take" ] || fail "take1.wav was overwritten"
chooseFile fresh
sleep 2  # the quiet before the press, which the file must not hold
cp in.raw heard.raw
clickControl "$CAP" 202 25 50 14  # "&Record"
sleep 2  # two seconds of tone
clickControl "$CAP" 202 25 50 14
wait_until 10 test -s fresh.wav
python3 "$SOURCE_DIR/tests/e2e_launcher/check_recording.py" fresh.wav || fail "fresh.wav"
wait_until 8 eval 'ls autoaudio/*.part >/dev/null 2>&1' || fail "no take in progress under a temporary name"
sleep 1  # halfway through the take
kill -TERM "$LAUNCHER_PID"
wait_until 3 gone "$LAUNCHER_PID" || fail "launcher still runs 3 s after SIGTERM"
wait "$LAUNCHER_PID"; RC=$?
[ "$RC" = 1 ] || fail "launcher ended with $RC after SIGTERM"
checkTakes autoaudio
echo PASS
