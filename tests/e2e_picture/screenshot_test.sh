#!/usr/bin/env bash
# Screenshots of the running program under Xvfb: after a few seconds of the
# percussive demo the info line reads and the ripples show; with F1 and F6
# the help lines are legible at their places and the sample names appear.
# With a second argument, the picture area of the help screenshot is kept
# there as a PNG.
set -u
run_dir=$1
keep_png=${2:-}
here=$(dirname "$0")
. "$here/../e2e_tidewell/e2e_lib.sh"
trap cleanup_e2e EXIT
export SDL_AUDIODRIVER=dummy

ensure_display
make_workdir "$run_dir"
printf '%s' "1,7,0,2,0,0,0,3,3,demo1,none," >"$E2E_WORKDIR/data/settings.txt"
read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')

shoot() {
  import -silent -window root -depth 8 "rgb:$E2E_WORKDIR/$1.rgb" || fail "no screenshot"
  import -silent -window root "$E2E_WORKDIR/$1.png" || fail "no screenshot"
}

check() {
  python3 "$here/check_screen.py" "$E2E_WORKDIR/data/text" "$E2E_WORKDIR/$1.rgb" "$width" "$height" "$2"
}

# A screenshot can catch the screen half-way through a frame whose palette
# has just moved on, so a shot that fails is taken again, up to three times.
shoot_and_check() {
  local name=$1 mode=$2
  for attempt in 1 2 3; do
    shoot "$name"
    check "$name" "$mode" && return
    echo "($name screenshot $attempt did not pass)"
    sleep 0.3
  done
  fail "$name screenshot: see above"
}

start_tidewell
sleep 3
shoot_and_check plain plain
xdotool key --window "$E2E_WINDOW" F1
xdotool key --window "$E2E_WINDOW" F6
sleep 0.5
shoot_and_check help help

# Off again: the help panel goes with the next frame.
xdotool key --window "$E2E_WINDOW" F1
xdotool key --window "$E2E_WINDOW" F6
sleep 0.5
shoot_and_check off plain

if [ -n "$keep_png" ]; then
  # The 4:3 box filling the height (the width on a tall screen).
  if [ $(( width * 3 )) -ge $(( height * 4 )) ]; then
    h=$height w=$(( (height * 4 + 1) / 3 ))
  else
    w=$width h=$(( (width * 3 + 2) / 4 ))
  fi
  convert "$E2E_WORKDIR/help.png" -crop "${w}x${h}+$(( (width - w) / 2 ))+$(( (height - h) / 2 ))" +repage \
    "$keep_png" || fail "could not keep the screenshot"
fi

xdotool key --window "$E2E_WINDOW" Escape
wait_for_exit 2000
[ "$E2E_EXIT" = "0" ] || fail "Escape ended the program with $E2E_EXIT"
echo "ok"
