#!/usr/bin/env bash
# Start-up to the first presented frame with eight tracks, beside a bare SDL
# window presenting one frame, five runs each; prints the medians in ms.
#   startup_bench.sh BUILD_DIR        (needs a display: DISPLAY or Xvfb)
set -eu
build=$(cd "$1" && pwd)
timer=$build/bench/startup/first_frame_timer
reference=$build/bench/startup/reference_window
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$build/run/." "$work/"
printf '%s' "1,0,0,2,0,0,0,7,3,demo1,none," >"$work/data/settings.txt"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
measure() {
  for _ in 1 2 3 4 5; do
    "$timer" "$work" "$@" | sed -n 's/^first_frame_ms=//p'
    sleep 0.3
  done | median
}
ours=$(measure "$work/tidewell")
ref=$(measure "$reference")
echo "tidewell, 8 tracks: first frame after ${ours} ms"
echo "bare SDL window:    first frame after ${ref} ms"
