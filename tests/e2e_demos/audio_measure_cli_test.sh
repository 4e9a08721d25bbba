#!/bin/bash
# audio_measure reads raw 48 kHz stereo float files (the analysis itself is
# tested in audio_analysis_test.cpp): the figures of files made by sox whose
# figures are known, --skip, and a missing file.
# Usage: audio_measure_cli_test.sh AUDIO_MEASURE
set -u
measure=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
raw=(-t raw -r 48000 -e floating-point -b 32 -c 2)
# expect FIGURES NAME VALUE TOLERANCE
expect() {
  awk -v a="$(sed -n "s/^$2=//p" <<<"$1")" -v b="$3" -v t="$4" 'BEGIN { d = a - b; exit !(a != "" && d <= t && -d <= t) }' ||
    fail "$2 is not $3 +-$4: $1"
}

# A half-scale sine: RMS is 6.02 + 3.01 dB below full scale, nothing clips.
sox -n "${raw[@]}" "$dir/sine.raw" synth 3 sine 440 vol 0.5 || fail "sox"
out=$("$measure" "$dir/sine.raw")
expect "$out" seconds 3.0 0.01
expect "$out" rms_dbfs -9.03 0.05
expect "$out" clipped_fraction 0 0
expect "$out" longest_silence_s 0 0

# One second of tone, six of silence, one of tone; skipping the first 1.5 s
# leaves it out of the figures.
sox -n "${raw[@]}" "$dir/gap.raw" synth 1 sine 300 vol 0.3 pad 0 6 : synth 1 sine 300 vol 0.3 || fail "sox"
out=$("$measure" "$dir/gap.raw")
expect "$out" longest_silence_s 6.0 0.06
expect "$out" onset_count 2 0
expect "$("$measure" "$dir/gap.raw" --skip 1.5)" seconds 6.5 0.01

"$measure" "$dir/missing.raw" >/dev/null 2>&1 && fail "a missing file was measured"
echo PASS
