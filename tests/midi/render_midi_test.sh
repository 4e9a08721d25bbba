#!/usr/bin/env bash
# tidewell --render ... --midi OUT.mid: the notes sit on the render's onsets,
# the same seed gives the same bytes, and a MIDI file that cannot be written
# fails the render with a message and leaves neither file behind.
#   render_midi_test.sh RUN_DIR CHECKER.py
set -u
run_dir=$1
checker=$(realpath "$2")
python=${PYTHON:-/usr/bin/python3}
. "$(dirname "$0")/../e2e_tidewell/e2e_lib.sh"
. "$(dirname "$0")/../e2e_tidewell/timing_lib.sh"
make_workdir "$run_dir"
make_click_folder
cd "$E2E_WORKDIR" || fail "no scratch folder"
# Tonal, eight tracks, tempo 700, the click folder.
printf '%s' "1,4,0,2,0,0,0,7,3,clicks,none," >data/settings.txt

./tidewell --render 20 out.wav --midi out.mid --seed 3 2>stderr.txt || fail "the render failed: $(cat stderr.txt)"
"$python" "$checker" out.wav out.mid || fail "the notes are not where the sound is"
./tidewell --render 20 again.wav --midi again.mid --seed 3 2>stderr.txt || fail "the second render failed"
cmp -s out.mid again.mid || fail "two renders with the same seed wrote different MIDI files"

for bad in no/such/folder/out.mid clicks; do
  ./tidewell --render 2 bad.wav --midi "$bad" --seed 3 >stdout.txt 2>stderr.txt
  code=$?
  [ "$code" = 1 ] || fail "an unwritable MIDI file '$bad' ended the render with $code"
  grep -q "cannot write $bad" stderr.txt || fail "an unwritable MIDI file '$bad' said: $(cat stderr.txt)"
  [ ! -e bad.wav ] || fail "an unwritable MIDI file '$bad' left the WAV file"
  ! ls . clicks | grep -q '\.part-' || fail "an unwritable MIDI file '$bad' left a temporary file"
done
echo "render_midi: ok"
