#!/bin/bash
# Feeds audio_measure raw files made by sox whose figures are known.
# Usage: audio_measure_cli_test.sh AUDIO_MEASURE
set -u
MEASURE=$1
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
RAW=(-t raw -r 48000 -e floating-point -b 32 -c 2)
value() { sed -n "s/^$2=//p" <<<"$1"; }
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= t) }'; }

# A half-scale sine: RMS is 6.02 + 3.01 dB below full scale, nothing clips.
sox -n "${RAW[@]}" "$DIR/sine.raw" synth 3 sine 440 vol 0.5 || fail "sox"
out=$("$MEASURE" "$DIR/sine.raw")
near "$(value "$out" seconds)" 3.0 0.01 || fail "sine length: $out"
near "$(value "$out" rms_dbfs)" -9.03 0.05 || fail "sine rms: $out"
near "$(value "$out" clipped_fraction)" 0 0 || fail "sine clips: $out"
near "$(value "$out" longest_silence_s)" 0 0 || fail "sine silent: $out"

# One second of tone, six of silence, one of tone.
sox -n "${RAW[@]}" "$DIR/gap.raw" synth 1 sine 300 vol 0.3 pad 0 6 : synth 1 sine 300 vol 0.3 || fail "sox"
out=$("$MEASURE" "$DIR/gap.raw")
near "$(value "$out" longest_silence_s)" 6.0 0.06 || fail "gap: $out"
[ "$(value "$out" onset_count)" = 2 ] || fail "gap onsets: $out"

# A square wave at full scale: about every sample is at the rail.
sox -n "${RAW[@]}" "$DIR/square.raw" synth 1 square 100 vol 1.0 || fail "sox"
out=$("$MEASURE" "$DIR/square.raw")
awk -v x="$(value "$out" clipped_fraction)" 'BEGIN { exit !(x > 0.9) }' || fail "square clipping: $out"

# Eight short clicks a quarter second apart.
sox -n "${RAW[@]}" "$DIR/clicks.raw" synth 0.02 sine 1000 vol 0.8 pad 0 0.23 repeat 7 || fail "sox"
out=$("$MEASURE" "$DIR/clicks.raw")
[ "$(value "$out" onset_count)" = 8 ] || fail "click onsets: $out"
near "$(value "$out" median_onset_spacing_s)" 0.25 0.011 || fail "click spacing: $out"

# Skipping the start leaves it out of the figures.
out=$("$MEASURE" "$DIR/gap.raw" --skip 1.5)
near "$(value "$out" seconds)" 6.5 0.01 || fail "skip: $out"

"$MEASURE" "$DIR/missing.raw" >/dev/null 2>&1 && fail "a missing file was measured"
echo PASS
