#!/usr/bin/env bash
# tidewell --render: bad requests fail with a message, a non-zero exit and no
# file; a good one writes a 48 kHz stereo WAV of exactly the length asked,
# the same bytes every time, other bytes under another seed, and the hits of
# a click at 700 beats a minute on their exact frames.
#   render_cli_test.sh RUN_DIR RENDER_ONSETS
set -u
run_dir=$1
onsets_tool=$(realpath "$2")
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$run_dir"/. "$work"/
cd "$work" || fail "no scratch folder"
printf '%s' "1,7,0,2,0,0,0,7,3,demo1,none," >data/settings.txt

# Nothing may be left behind by a failed render, not even the temporary file.
expect_failure() {
  local code=$1 message=$2 out=$3
  shift 3
  ./tidewell "$@" >stdout.txt 2>stderr.txt
  local got=$?
  [ "$got" = "$code" ] || fail "'$*' ended with $got, expected $code: $(cat stderr.txt)"
  grep -q -- "$message" stderr.txt || fail "'$*' said '$(cat stderr.txt)', expected '$message'"
  [ ! -e "$out" ] || fail "'$*' left $out"
  ! ls "$(dirname "$out")" 2>/dev/null | grep -q '\.part-' || fail "'$*' left a temporary file"
}

# Refusals after parsing (the parser's own are checked in command_line_test.cpp).
expect_failure 2 "a WAV file holds at most 11184 seconds" out.wav --render 20000 out.wav
expect_failure 1 "cannot write no/such/folder/out.wav" no/such/folder/out.wav --render 1 no/such/folder/out.wav
mkdir already_a_folder
expect_failure 1 "it is a folder" already_a_folder/x --render 1 already_a_folder
mv data/settings.txt settings.kept
expect_failure 1 "cannot read data/settings.txt" out.wav --render 1 out.wav
printf '%s' "1,7,0,2,0,0,0,7,3,nowhere,none," >data/settings.txt
expect_failure 1 "sample folder 'nowhere/'" out.wav --render 1 out.wav
mv settings.kept data/settings.txt

# A render stopped half-way leaves nothing either.
./tidewell --render 3000 stopped.wav 2>stderr.txt &
render_pid=$!
for _ in $(seq 200); do grep -q "rendering stopped.wav" stderr.txt && break; sleep 0.05; done
grep -q "rendering stopped.wav" stderr.txt || fail "no progress shown for a long render: $(cat stderr.txt)"
kill -TERM "$render_pid"
wait "$render_pid"
[ $? = 1 ] || fail "a render stopped by SIGTERM did not fail"
grep -q "stopped by" stderr.txt || fail "a stopped render said: $(cat stderr.txt)"
! ls | grep -q stopped.wav || fail "a stopped render left $(ls | grep stopped.wav)"

# A render leaves a live program's log in the same folder as it was.
printf 'DEBUG LOG\na live run\n' >data/debug.txt
./tidewell --render 5 a.wav || fail "the first render failed"
./tidewell --render 5 b.wav || fail "the second render failed"
./tidewell --seed 7 --render 5 c.wav || fail "the seeded render failed"
./tidewell --seed 1 --render 5 d.wav || fail "the render seeded with the start state failed"
[ "$(cat data/debug.txt)" = "$(printf 'DEBUG LOG\na live run')" ] ||
  fail "the render rewrote the debug log: $(cat data/debug.txt)"
cmp -s a.wav b.wav || fail "two renders of the same settings differ"
cmp -s a.wav d.wav || fail "--seed 1, the start state, changed the render"
cmp -s a.wav c.wav && fail "--seed 7 rendered the same bytes as no seed"
[ "$(soxi -r a.wav)" = 48000 ] || fail "rate $(soxi -r a.wav)"
[ "$(soxi -c a.wav)" = 2 ] || fail "channels $(soxi -c a.wav)"
[ "$(soxi -s a.wav)" = 240000 ] || fail "$(soxi -s a.wav) frames, expected 5 s = 240000"
# The music is there: the demo kit plays from the first frames on.
peak=$(sox a.wav -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
awk -v p="$peak" 'BEGIN { exit !(p > 0.05) }' || fail "the render is silent (peak $peak)"
# Each beat's hits start at the beat's ideal time plus the lookahead, to the
# frame: the clicks lie on a grid of 85.714 ms.
mkdir clicks
sox -n -r 48000 -b 16 -c 1 clicks/click.wav synth 0.004 square 1500 vol 0.5 || fail "sox could not make a click"
printf '%s' "1,7,0,2,0,0,0,7,3,clicks,none," >data/settings.txt
./tidewell --render 10 clicks.wav || fail "the click render failed"
grid=$("$onsets_tool" clicks.wav) || fail "no beat grid in the click render: $grid"
echo "$grid" | tr '\n' ' '; echo
awk -v e="$(echo "$grid" | sed -n 's/^spacing_error_percent=//p')" \
    -v j="$(echo "$grid" | sed -n 's/^jitter_max_ms=//p')" \
    'BEGIN { exit !(e != "" && e <= 0.05 && e >= -0.05 && j != "" && j <= 0.1) }' ||
  fail "the clicks are off the 85.714 ms grid"
echo "render_cli: ok"
