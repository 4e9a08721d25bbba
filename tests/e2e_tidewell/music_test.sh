#!/usr/bin/env bash
# The "Percussive" demo's settings play: onsets come on a grid of whole frames
# that matches the tempo, 300 presses of F7 slow the grid as the new tempo
# says, F2 changes the behaviour symbol of the info line, and Escape ends with
# 0. The folder holds short clicks instead of the drum kit, so that every beat
# that sounds gives one clear onset and nothing else does.
#   music_test.sh RUN_DIR AUDIO_MEASURE
set -u
run_dir=$1
measure=$2
. "$(dirname "$0")/e2e_lib.sh"
trap cleanup_e2e EXIT

ensure_display
make_workdir "$run_dir"
mkdir "$E2E_WORKDIR/clicks"
for pitch in 2000 3000 4000; do
  sox -n -r 48000 -b 16 -c 1 "$E2E_WORKDIR/clicks/click$pitch.wav" synth 0.004 sine "$pitch" vol 0.5 fade 0 0.004 0.003 ||
    fail "sox could not make a click"
done
printf '%s' "1,7,0,2,0,0,0,3,3,clicks,none," >"$E2E_WORKDIR/data/settings.txt"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORKDIR/out.raw"
frame_ms=$(awk 'BEGIN { print 1000 / 60 }')  # the virtual display's refresh

# The beat grid: the longest period whose whole multiples explain most
# spacings between onsets (seconds since the sound started, from..to).
beat_grid() {
  local from=$1 to=$2
  "$measure" "$E2E_WORKDIR/out.raw" | sed -n 's/^onsets=//p' | tr ',' '\n' |
    awk -v from="$from" -v to="$to" '$1 >= from && $1 <= to { if (n++) print ($1 - p) * 1000; p = $1 }' |
    awk '
      $1 >= 60 { d[n++] = $1 }                 # closer onsets are one hit heard twice
      END {
        best = 0
        for (p = 60; p <= 400; p++) {
          fit = 0
          for (i = 0; i < n; i++) {
            k = int(d[i] / p + 0.5)
            if (k >= 1 && (d[i] - k * p) ^ 2 <= 20 ^ 2) fit++
          }
          if (n >= 5 && fit >= 0.8 * n) best = p
        }
        # Then the period that best explains the spacings it fits.
        if (best) {
          sum = 0; beats = 0
          for (i = 0; i < n; i++) {
            k = int(d[i] / best + 0.5)
            if (k >= 1 && (d[i] - k * best) ^ 2 <= 20 ^ 2) { sum += d[i]; beats += k }
          }
          best = sum / beats
        }
        printf "%d %d\n", best, n
      }'
}

# Beats fall on the first frame after the interval has passed.
expect_grid() {
  local measured=$1 interval=$2 what=$3
  awk -v m="$measured" -v i="$interval" -v f="$frame_ms" 'BEGIN { exit !(m >= i - 12 && m <= i + f + 12) }' ||
    fail "$what: onsets every $measured ms, beats expected every $interval..$(awk -v i="$interval" -v f="$frame_ms" 'BEGIN{print i+f}') ms"
}

# The info line's behaviour symbol as a mask of lit pixels (colour 0 is black
# in every palette, so the glyph shows wherever a pixel is not black).
symbol_mask() {
  local width height factor x0 y0
  read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
  factor=$(( width / 400 < height / 300 ? width / 400 : height / 300 ))
  x0=$(( (width - 400 * factor) / 2 + 90 * factor ))
  y0=$(( (height - 300 * factor) / 2 + 290 * factor ))
  import -silent -window root -depth 8 "rgb:$E2E_WORKDIR/screen.rgb" || fail "no screenshot"
  convert -size "${width}x${height}" -depth 8 "rgb:$E2E_WORKDIR/screen.rgb" \
      -crop "$((8 * factor))x$((8 * factor))+$x0+$y0" +repage txt:- |
    awk 'NR > 1 { print ($2 == "(0,0,0)" ? 0 : 1) }' | tr -d '\n'
}

start_tidewell
sleep 10
grid=$(beat_grid 1 10)
echo "700 bpm: onsets on a grid of $grid (ms, count)"
expect_grid "${grid%% *}" "$(awk 'BEGIN { print 1000 / (700 / 60) }')" "700 bpm"

xdotool key --window "$E2E_WINDOW" --delay 2 --repeat 300 F7
sleep 10

before=$(symbol_mask)
xdotool key --window "$E2E_WINDOW" F2
sleep 0.3
after=$(symbol_mask)
[ "${before//0/}" != "" ] || fail "no behaviour symbol on the info line"
[ "$before" != "$after" ] || fail "F2 did not change the behaviour symbol"
xdotool key --window "$E2E_WINDOW" Escape
wait_for_exit 1000
[ "$E2E_EXIT" = "0" ] || fail "Escape ended the music with $E2E_EXIT"

# The file's clock is the sound card's, not the wall's: take the seconds
# before the last one or two, which the change of behaviour may have touched.
total=$("$measure" "$E2E_WORKDIR/out.raw" | sed -n 's/^seconds=//p')
grid=$(beat_grid "$(awk -v t="$total" 'BEGIN { print t - 9 }')" "$(awk -v t="$total" 'BEGIN { print t - 2 }')")
echo "400 bpm: onsets on a grid of $grid (ms, count)"
expect_grid "${grid%% *}" 150 "400 bpm"
echo "music test passed"
