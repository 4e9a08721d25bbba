#!/usr/bin/env bash
# Screenshots of the running program under Xvfb: after a few seconds of the
# percussive demo the info line reads and the ripples show; with F1 the help
# lines are legible at their places, with F6 the sample names appear. With a
# second argument, the picture area with both shown is kept there as a PNG.
set -u
run_dir=$1
keep_png=${2:-}
here=$(dirname "$0")
. "$here/../e2e_tidewell/e2e_lib.sh"
export SDL_AUDIODRIVER=dummy

start_private_display
make_workdir "$run_dir"
printf '%s' "1,7,0,2,0,0,0,3,3,demo1,none," >"$E2E_WORKDIR/data/settings.txt"

# expect_screen NAME MODE: the next frames show MODE (help toggles with the
# next frame after the key, the ripples spread in the first seconds); shots
# are taken until one does, for at least 10 s.
expect_screen() {
  local name=$1 mode=$2
  wait_until 10 eval 'shoot "$name" && python3 "$here/check_screen.py" "$E2E_WORKDIR/data/text" \
      "$E2E_WORKDIR/$name.rgb" "$SCREEN_W" "$SCREEN_H" "$mode" >"$E2E_WORKDIR/$name.txt"' ||
    fail "$name screenshot: $(cat "$E2E_WORKDIR/$name.txt")"
}

# Help and names one at a time: where names cross the help panel a share of
# its cells cannot show their glyphs.
start_tidewell
expect_screen plain plain
xdotool key --window "$E2E_WINDOW" F1
expect_screen help help
xdotool key --window "$E2E_WINDOW" F1 F6
expect_screen names names
xdotool key --window "$E2E_WINDOW" F6  # off again
expect_screen off plain

if [ -n "$keep_png" ]; then
  xdotool key --window "$E2E_WINDOW" F1 F6
  expect_screen both help+names
  read -r left top w h < <(python3 "$here/../support/picture_box.py" "$E2E_WORKDIR/both.rgb" "$SCREEN_W" "$SCREEN_H")
  convert -size "${SCREEN_W}x$SCREEN_H" -depth 8 "rgb:$E2E_WORKDIR/both.rgb" \
    -crop "${w}x$h+$left+$top" +repage "$keep_png" || fail "could not keep the screenshot"
fi

end_tidewell Escape 5000
echo "ok"
