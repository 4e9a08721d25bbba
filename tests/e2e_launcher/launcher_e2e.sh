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

# 1. Run From Sound Capture with the first format (8000 Hz, 8-bit Mono);
# only this run's starts of the main program are counted.
cd "$WORK" || exit 1
rm -f tidewell.pids
"$WORK/launcher" 2>"$WORK/launcher2.err" &
LAUNCHER_PID=$!
WID=$(waitForWindow '^Tidewell Setup$' 60)
[ -n "$WID" ] || fail "no setup dialog for the capture run"
sleep 0.5
[ -n "${SHOT:-}" ] && import -window "$WID" "$SHOT"
clickControl "$WID" 129 58 92 8   # first line of the format list
sleep 0.3
clickControl "$WID" 231 70 50 14  # OK of "Run From Sound Capture"
CAP=$(waitForWindow '^Capturing Sound$' 10)
[ -n "$CAP" ] || fail "no capture window"
START=$(date +%s.%N)
# The second start comes with the end of autoaudio/4.wav, about 20 s in.
for _ in $(seq 300); do
  [ "$(wc -l < tidewell.pids)" -ge 2 ] && break
  sleep 0.1
done
[ "$(head -c 2 data/settings.txt)" = "2," ] || fail "capture settings: '$(cat data/settings.txt)'"
xdotool windowfocus --sync "$CAP" 2>/dev/null
xdotool key --window "$CAP" Escape
for _ in $(seq 50); do kill -0 "$LAUNCHER_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$LAUNCHER_PID" 2>/dev/null && fail "launcher still runs after closing the capture window"
wait "$LAUNCHER_PID"; RC=$?
END=$(date +%s.%N)
[ "$RC" = 1 ] || fail "launcher ended with $RC"
for n in 0 1 2 3 4; do
  python3 "$SOURCE_DIR/tests/e2e_launcher/check_recording.py" autoaudio/$n.wav || fail "autoaudio/$n.wav"
done
[ "$(wc -l < tidewell.pids)" = 2 ] || fail "$(wc -l < tidewell.pids) starts of the main program in the capture run"
grep -c "^Writing " launcher2.err | sed 's/^/drain lines: /'
echo "capture run: $(echo "$END - $START" | bc) s from capture window to exit"
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
SDL_DISKAUDIOFILEIN=$WORK/heard.raw "$WORK/launcher" 2>launcher3.err &
LAUNCHER_PID=$!
WID=$(waitForWindow '^Tidewell Setup$' 60)
[ -n "$WID" ] || fail "no setup dialog for the SIGTERM run: $(cat launcher3.err)"
sleep 0.5
clickControl "$WID" 129 58 92 8
sleep 0.3
clickControl "$WID" 231 70 50 14
CAP=$(waitForWindow '^Capturing Sound$' 10)
[ -n "$CAP" ] || fail "no capture window for the chooser run"
chooseFile() {  # the name to type, without .wav
  clickControl "$CAP" 7 7 46 13  # "Sound file..."
  local chooser
  chooser=$(waitForWindow '^Save Sound File$' 10)
  [ -n "$chooser" ] || fail "no chooser"
  sleep 0.5
  # Without a window manager nothing gives the chooser the keyboard by itself.
  xdotool windowfocus --sync "$chooser"
  xdotool type --delay 5 "$WORK/$1"
  xdotool key Delete Return  # no completion of the typed name
}
chooseFile take1
waitForWindow '^Confirm Save As$' 5 >/dev/null ||
  fail "no overwrite question for take1 (take1.wav exists)"
sleep 0.3
xdotool key Escape  # "No": the chooser comes back
sleep 0.5
waitForWindow '^Save Sound File$' 5 >/dev/null || fail "the chooser did not come back"
xdotool key Escape  # cancelled
sleep 0.5
[ "$(cat take1.wav)" = "an earlier take" ] || fail "take1.wav was overwritten"
chooseFile fresh
sleep 2
cp in.raw heard.raw
clickControl "$CAP" 202 25 50 14  # "&Record"
sleep 2
clickControl "$CAP" 202 25 50 14
for _ in $(seq 100); do [ -s fresh.wav ] && break; sleep 0.1; done
python3 "$SOURCE_DIR/tests/e2e_launcher/check_recording.py" fresh.wav || fail "fresh.wav"
for _ in $(seq 80); do ls autoaudio/*.part >/dev/null 2>&1 && break; sleep 0.1; done
ls autoaudio/*.part >/dev/null 2>&1 || fail "no take in progress under a temporary name"
sleep 1  # halfway through the take
kill -TERM "$LAUNCHER_PID"
for _ in $(seq 30); do kill -0 "$LAUNCHER_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$LAUNCHER_PID" 2>/dev/null && fail "launcher still runs 3 s after SIGTERM"
wait "$LAUNCHER_PID"; RC=$?
[ "$RC" = 1 ] || fail "launcher ended with $RC after SIGTERM"
checkTakes autoaudio
echo PASS
