# Shared steps of the timing runs: a click folder, the program started on
# SDL's disk driver, the file's growth logged against the wall clock, and the
# beat grid measured in the written sound.
#   . timing_lib.sh   (after e2e_lib.sh; needs E2E_WORKDIR)

# A folder of one click, a single period of a 4 kHz square wave (12 frames):
# it starts at full level on its first frame at any playback rate, and even
# where "Tonal" walks a track down to a few hundred hertz the stretched click
# ends long before the next beat (a 1 ms click lasted 60 ms there, and hid
# the beats of the other tracks).
make_click_folder() {
  mkdir -p "$E2E_WORKDIR/clicks"
  sox -n -r 48000 -b 16 -c 1 "$E2E_WORKDIR/clicks/click.wav" synth 0.00025 square 4000 gain -1 ||
    fail "sox could not make a click"
}

# Settings for 8 tracks over the click folder: "Tonal" (pitches stay high and
# move seldom), volumes that stay put (so no track is replaced and the
# rhythms, hence the onsets a second, stay the same), no mutation; the tempo
# field by its list index (0: 60, 2: 600, 3: 700, 4: 1000).
write_click_settings() {
  printf '1,0,0,2,0,2,0,7,%s,clicks,none,' "$1" >"$E2E_WORKDIR/data/settings.txt"
}

# Logs "wall_seconds bytes" of the output file as it grows, in the background:
# at real-time priority where the machine allows it, so that the log's times
# are when the writes came, not when the watcher next got a core.
start_growth_log() {
  local realtime=""
  chrt -f 30 true 2>/dev/null && realtime="chrt -f 30"
  $realtime "$TIMING_GROWTH_WATCH" "$E2E_WORKDIR/out.raw" >"$E2E_WORKDIR/growth.log" &
  TIMING_GROWTH_PID=$!
}

stop_growth_log() {
  [ -n "${TIMING_GROWTH_PID:-}" ] && kill "$TIMING_GROWTH_PID" 2>/dev/null
  TIMING_GROWTH_PID=""
}

# Stream seconds written so far.
stream_seconds() {
  awk -v b="$(stat -c %s "$E2E_WORKDIR/out.raw")" 'BEGIN { printf "%.3f", b / 8 / 48000 }'
}

# Frames presented so far, counted by a preloaded wrapper of SDL's present
# (start the program with LD_PRELOAD set by build_present_counter).
build_present_counter() {
  cc -shared -fPIC -O2 -o "$E2E_WORKDIR/present_counter.so" \
      "$(dirname "${BASH_SOURCE[0]}")/../e2e_picture/present_counter.c" -ldl || fail "could not build the counter"
  export PRESENT_COUNT_FILE=$E2E_WORKDIR/presents.txt
}

# The count comes as a new line of the file once the program takes the signal.
presents_so_far() {
  local lines
  lines=$(grep -vc '^renderer' "$PRESENT_COUNT_FILE")
  kill -USR1 "$E2E_PID"
  wait_until 5 eval '[ "$(grep -vc "^renderer" "$PRESENT_COUNT_FILE")" -gt "$lines" ]' || fail "no count of presents"
  grep -v '^renderer' "$PRESENT_COUNT_FILE" | tail -n 1 | cut -d' ' -f1
}

# onset_rate FROM TO: onsets a second in that stretch of stream seconds.
onset_rate() {
  "$TIMING_BEAT_GRID" "$E2E_WORKDIR/out.raw" --interval 85.714287 --threshold 0.02 --from "$1" --to "$2" |
    awk -v a="$1" -v b="$2" -F= '$1 == "onsets" { printf "%.2f", $2 / (b - a) }'
}

# expect_beats FROM TO INTERVAL_MS TOLERANCE_PCT LABEL [MAX_RMS_MS]: the beats
# between those stream seconds come every INTERVAL_MS within the tolerance
# (and keep to their grid within MAX_RMS_MS rms, when given), each timed by
# when the disk driver wrote its frames.
expect_beats() {
  local result spacing rms
  result=$("$TIMING_BEAT_GRID" "$E2E_WORKDIR/out.raw" --interval "$3" --threshold 0.02 \
      --growth "$E2E_WORKDIR/growth.log" --from "$1" --to "$2")
  spacing=$(sed -n 's/^frame_clock_spacing_ms=//p' <<<"$result")
  rms=$(sed -n 's/^frame_clock_rms_ms=//p' <<<"$result")
  echo "$5: beats every ${spacing:-?} ms (want $3 +-$4 %), ${rms:-?} ms rms off the grid"
  awk -v s="$spacing" -v i="$3" -v t="$4" -v r="$rms" -v m="${6:-1e9}" \
    'BEGIN { exit !(s != "" && s >= i * (1 - t / 100) && s <= i * (1 + t / 100) && r <= m) }' ||
    fail "$5: beats every ${spacing:-?} ms, ${rms:-?} ms rms off the grid; want $3 ms +-$4 %${6:+, $6 ms rms}"
}

# wait_for_stream_seconds S: until the program has written S seconds of
# sound (+S: S more than now); the disk driver keeps about real-time pace,
# so four times as long in wall time (and at least 10 s) is the cap.
wait_for_stream_seconds() {
  local target=${1#+}
  [ "$target" != "$1" ] && target=$(awk -v s="$(stream_seconds)" -v d="$target" 'BEGIN { print s + d }')
  wait_until "$(awk -v s="${1#+}" 'BEGIN { printf "%d", s * 4 + 10 }')" stream_reached "$target" ||
    fail "only $(stream_seconds) s of sound after waiting for $1 s"
}
stream_reached() {
  kill -0 "$E2E_PID" 2>/dev/null || fail "the program ended while playing"
  awk -v b="$(stat -c %s "$E2E_WORKDIR/out.raw" 2>/dev/null || echo 0)" -v s="$1" 'BEGIN { exit !(b / 8 / 48000 >= s) }'
}
