#!/bin/bash
# The main program with sample folders a new user might have, under a private
# X display with SDL's disk audio driver:
#   1. short quiet tones (-20 dBFS) in six formats, 2 tracks, sliding pitch
#      around 50 kHz and a fast tempo, so that each hit is over before its
#      track's next one and the tracks reload several times: the output never
#      goes past 0.25 (bytes played as the wrong format are loud noise) and
#      is not silent;
#   2. a sound-capture run whose numbered files appear 2 s into the sound: the
#      second half of the run is not silent;
#   3. a 100-byte file whose data chunk claims 0x0FFFFF00 bytes: the process's
#      peak memory stays under 150 MB.
# Usage: sample_folders_test.sh RUN_DIR AUDIO_MEASURE [SECONDS]
set -u

RUN_DIR=$1
MEASURE=$2
SECONDS_PER_RUN=${3:-12}

fail() { echo "FAIL: $*" >&2; status=1; }
[ -x "$RUN_DIR/tidewell" ] || { echo "FAIL: no tidewell in $RUN_DIR" >&2; exit 1; }

. "$(dirname "$0")/demo_lib.sh"
start_private_display

# A fresh working directory with the given settings line.
prepare() {
  local work="$SCRATCH/$1"
  mkdir -p "$work"
  cp -r "$RUN_DIR"/. "$work"/
  rm -f "$work/data/debug.txt" "$work"/autoaudio/*.wav
  printf '%s' "$2" > "$work/data/settings.txt"
  echo "$work"
}

# Starts the program in $1 writing its sound to $2; PLAYER_PID is set.
start() {
  (cd "$1" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$2" exec ./tidewell) >"$1.log" 2>&1 &
  PLAYER_PID=$!
}

finish() {
  kill -0 "$PLAYER_PID" 2>/dev/null || fail "$1: tidewell ended early: $(tail -3 "$SCRATCH/$1.log")"
  kill -TERM "$PLAYER_PID" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$PLAYER_PID" 2>/dev/null || break; sleep 0.05; done
  kill -9 "$PLAYER_PID" 2>/dev/null
  wait "$PLAYER_PID" 2>/dev/null
  PLAYER_PID=""
}

RAW=(-t raw -r 48000 -e floating-point -b 32 -c 2)
status=0

# 1. Six formats.
work=$(prepare six "1,0,0,1,0,0,0,1,3,six,none,")
mkdir -p "$work/six"
sox -n -r 8000 -b 8 -e unsigned-integer -c 1 "$work/six/a_u8_8k_mono.wav" synth 0.025 sine 440 vol 0.1
sox -n -r 44100 -b 24 -e signed-integer -c 2 "$work/six/b_s24_44k_stereo.wav" synth 0.025 sine 550 vol 0.1
sox -n -r 48000 -b 16 -e signed-integer -c 1 "$work/six/c_s16_48k_mono.wav" synth 0.025 sine 660 vol 0.1
sox -n -r 22050 -b 32 -e floating-point -c 2 "$work/six/d_f32_22k_stereo.wav" synth 0.025 sine 330 vol 0.1
sox -n -r 96000 -b 24 -e signed-integer -c 1 "$work/six/e_s24_96k_mono.wav" synth 0.025 sine 770 vol 0.1
sox -n -r 16000 -b 16 -e signed-integer -c 2 "$work/six/f_s16_16k_stereo.wav" synth 0.025 sine 880 vol 0.1
start "$work" "$SCRATCH/six.raw"
wait_for_stream "$SCRATCH/six.raw" "$SECONDS_PER_RUN"
finish six
figures=$("$MEASURE" "$SCRATCH/six.raw" --rate 48000 --channels 2)
peak=$(sed -n 's/^peak_dbfs=//p' <<<"$figures")
rms=$(sed -n 's/^rms_dbfs=//p' <<<"$figures")
echo "six formats: peak_dbfs=$peak rms_dbfs=$rms"
awk -v p="$peak" 'BEGIN { exit !(p <= -12.04) }' || fail "six formats: peak $peak dBFS is above 0.25"
awk -v r="$rms" 'BEGIN { exit !(r > -45) }' || fail "six formats: nearly silent ($rms dBFS)"
onsets=$(sed -n 's/^onset_count=//p' <<<"$figures")
echo "six formats: $onsets onsets"

# 2. Capture files that appear 2 s after start.
work=$(prepare capture "2,0,0,0,0,0,0,1,4,none,none,")
sox -n -r 22050 -b 16 -e signed-integer -c 1 "$SCRATCH/capture.wav" synth 2 sine 500 vol 0.3
start "$work" "$SCRATCH/capture.raw"
wait_for_stream "$SCRATCH/capture.raw" 2
for i in $(seq 0 10); do cp "$SCRATCH/capture.wav" "$work/autoaudio/$i.wav"; done
wait_for_stream "$SCRATCH/capture.raw" "$SECONDS_PER_RUN"
finish capture
half=$(awk -v s="$SECONDS_PER_RUN" 'BEGIN { print s / 2 }')
figures=$("$MEASURE" "$SCRATCH/capture.raw" --rate 48000 --channels 2 --skip "$half")
rms=$(sed -n 's/^rms_dbfs=//p' <<<"$figures")
echo "capture: second half rms_dbfs=$rms"
awk -v r="$rms" 'BEGIN { exit !(r > -40) }' || fail "capture: the second half is silent ($rms dBFS)"

# 3. A tiny file that claims a quarter of a gigabyte of data.
work=$(prepare claim "1,0,0,0,0,0,0,1,4,claim,none,")
mkdir -p "$work/claim"
{ printf 'RIFF\x5c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00'
  printf 'data\x00\xff\xff\x0f'; head -c 56 /dev/urandom; } > "$work/claim/big.wav"
[ "$(stat -c %s "$work/claim/big.wav")" -eq 100 ] || fail "claim: the file is not 100 bytes"
start "$work" "$SCRATCH/claim.raw"
# The tracks load at start and reload as they play: three seconds of sound.
wait_for_stream "$SCRATCH/claim.raw" 3
peak_kb=$(awk '/^VmHWM/ { print $2 }' "/proc/$PLAYER_PID/status" 2>/dev/null)
finish claim
echo "claim: peak memory ${peak_kb:-?} kB"
[ -n "$peak_kb" ] && [ "$peak_kb" -lt $((150 * 1024)) ] || fail "claim: peak memory ${peak_kb:-?} kB"

[ "$status" -eq 0 ] && echo "PASS"
exit "$status"
