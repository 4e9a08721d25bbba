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
run_dir=$1
measure=$2
per_run=${3:-12}
. "$(dirname "$0")/../e2e_tidewell/e2e_lib.sh"
. "$(dirname "$0")/../e2e_tidewell/timing_lib.sh"
start_private_display
export SDL_AUDIODRIVER=disk

# A fresh working directory with the given settings line.
prepare() {
  make_workdir "$run_dir"
  rm -f "$E2E_WORKDIR"/autoaudio/*.wav
  printf '%s' "$1" >"$E2E_WORKDIR/data/settings.txt"
  export SDL_DISKAUDIOFILE=$E2E_WORKDIR/out.raw
}
# figure NAME [OPTIONS]: one figure of the sound written (after the options' --skip).
figure() { "$measure" "$E2E_WORKDIR/out.raw" "${@:2}" | sed -n "s/^$1=//p"; }

# 1. Six formats.
prepare "1,0,0,1,0,0,0,1,3,six,none,"
six=$E2E_WORKDIR/six
mkdir -p "$six"
sox -n -r 8000 -b 8 -e unsigned-integer -c 1 "$six/a_u8_8k_mono.wav" synth 0.025 sine 440 vol 0.1
sox -n -r 44100 -b 24 -e signed-integer -c 2 "$six/b_s24_44k_stereo.wav" synth 0.025 sine 550 vol 0.1
sox -n -r 48000 -b 16 -e signed-integer -c 1 "$six/c_s16_48k_mono.wav" synth 0.025 sine 660 vol 0.1
sox -n -r 22050 -b 32 -e floating-point -c 2 "$six/d_f32_22k_stereo.wav" synth 0.025 sine 330 vol 0.1
sox -n -r 96000 -b 24 -e signed-integer -c 1 "$six/e_s24_96k_mono.wav" synth 0.025 sine 770 vol 0.1
sox -n -r 16000 -b 16 -e signed-integer -c 2 "$six/f_s16_16k_stereo.wav" synth 0.025 sine 880 vol 0.1
start_tidewell
wait_for_stream_seconds "$per_run"
end_tidewell TERM 5000
peak=$(figure peak_dbfs) rms=$(figure rms_dbfs)
awk -v p="$peak" 'BEGIN { exit !(p <= -12.04) }' || fail "six formats: peak $peak dBFS is above 0.25"
awk -v r="$rms" 'BEGIN { exit !(r > -45) }' || fail "six formats: nearly silent ($rms dBFS)"

# 2. Capture files that appear 2 s after start.
prepare "2,0,0,0,0,0,0,1,4,none,none,"
sox -n -r 22050 -b 16 -e signed-integer -c 1 "$E2E_WORKDIR/capture.wav" synth 2 sine 500 vol 0.3
start_tidewell
wait_for_stream_seconds 2
for i in $(seq 0 10); do cp "$E2E_WORKDIR/capture.wav" "$E2E_WORKDIR/autoaudio/$i.wav"; done
wait_for_stream_seconds "$per_run"
end_tidewell TERM 5000
rms=$(figure rms_dbfs --skip "$(awk -v s="$per_run" 'BEGIN { print s / 2 }')")
awk -v r="$rms" 'BEGIN { exit !(r > -40) }' || fail "capture: the second half is silent ($rms dBFS)"

# 3. A tiny file that claims a quarter of a gigabyte of data.
prepare "1,0,0,0,0,0,0,1,4,claim,none,"
mkdir -p "$E2E_WORKDIR/claim"
{ printf 'RIFF\x5c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00'
  printf 'data\x00\xff\xff\x0f'; head -c 56 /dev/urandom; } >"$E2E_WORKDIR/claim/big.wav"
[ "$(stat -c %s "$E2E_WORKDIR/claim/big.wav")" -eq 100 ] || fail "claim: the file is not 100 bytes"
start_tidewell
# The tracks load at start and reload as they play: three seconds of sound.
wait_for_stream_seconds 3
peak_kb=$(awk '/^VmHWM/ { print $2 }' "/proc/$E2E_PID/status")
end_tidewell TERM 5000
[ -n "$peak_kb" ] && [ "$peak_kb" -lt $((150 * 1024)) ] || fail "claim: peak memory ${peak_kb:-?} kB"
echo "PASS"
