#!/bin/bash
# Tidewell installed as a user gets it: `cmake --install` into a scratch
# prefix and `cpack -G DEB` from the build; then, with a fresh HOME and
# started from /, the installed launcher opens its dialog, makes and fills
# ~/.local/share/tidewell, and "Run From Local Folder" starts the installed
# tidewell there, playing demo1 - once with no usable audio driver at all
# (no capture device either), once with SDL's disk driver to hear it.
# Neither program lingers without a display.
set -u
BUILD=$1
SOURCE_DIR=$2
T=$(mktemp -d /tmp/install-e2e-XXXXXX)
P=$T/prefix
fail() { echo "FAIL: $*"; exit 1; }
installedTidewell() {
  for p in $(pgrep -x tidewell); do
    [ "$(readlink "/proc/$p/exe")" = "$P/bin/tidewell" ] && echo "$p"
  done
}
cleanup() {
  installedTidewell | xargs -r kill -9 2>/dev/null
  [ -n "${LAUNCHER_PID:-}" ] && kill -9 "$LAUNCHER_PID" 2>/dev/null
  rm -rf "$T"
}
. "$SOURCE_DIR/tests/support/private_display.sh"
on_exit cleanup

# 1. The install layout, the desktop entry, the icons, the package.
cmake --install "$BUILD" --prefix "$P" >/dev/null || fail "cmake --install"
for f in bin/tidewell bin/tidewell-launcher share/tidewell/data/text share/tidewell/C.wav \
         share/applications/tidewell.desktop share/man/man1/tidewell.1 share/man/man1/tidewell-launcher.1; do
  [ -s "$P/$f" ] || fail "missing $f"
done
[ -d "$P/share/tidewell/autoaudio" ] || fail "missing share/tidewell/autoaudio"
for d in 1 2 3 4; do ls "$P/share/tidewell/demo$d/"*.wav >/dev/null 2>&1 || fail "no demo$d"; done
for size in 16 32 48 256; do
  [ "$(identify -format %wx%h "$P/share/icons/hicolor/${size}x${size}/apps/tidewell.png")" = "${size}x${size}" ] ||
    fail "icon ${size}x${size}"
done
desktop-file-validate "$P/share/applications/tidewell.desktop" || fail "desktop-file-validate"
grep -qx "Exec=tidewell-launcher" "$P/share/applications/tidewell.desktop" || fail "desktop Exec"
"$P/bin/tidewell-launcher" --help | grep -q "Tidewell Setup" || fail "launcher --help"
"$P/bin/tidewell" --help | grep -q "settings.txt" || fail "tidewell --help"

cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$T/pkg" >/dev/null 2>&1 || fail "cpack"
DEB=$(ls "$T"/pkg/tidewell_*_amd64.deb 2>/dev/null | head -1)
[ -n "$DEB" ] || fail "no tidewell_<version>_amd64.deb"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
case "$DEPENDS" in *libsdl2*libfltk*|*libfltk*libsdl2*) ;; *) fail "Depends: $DEPENDS" ;; esac
dpkg-deb -c "$DEB" | awk '{print $6}' > "$T/contents"
for f in ./usr/bin/tidewell ./usr/bin/tidewell-launcher ./usr/share/applications/tidewell.desktop \
         ./usr/share/icons/hicolor/48x48/apps/tidewell.png ./usr/share/tidewell/demo1/ ./usr/share/tidewell/C.wav; do
  grep -qx "$f" "$T/contents" || fail "$DEB lacks $f"
done

# 2. No display: a clear message and an exit at once.
export HOME=$T/home
mkdir -p "$HOME"
unset XDG_DATA_HOME XDG_CONFIG_HOME TIDEWELL_HOME
for program in tidewell tidewell-launcher; do
  start=$(date +%s%N)
  (cd / && env -u DISPLAY -u WAYLAND_DISPLAY timeout 5 "$P/bin/$program" >/dev/null 2>"$T/nodisplay.err")
  rc=$?
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  [ "$rc" != 0 ] && [ "$rc" != 124 ] || fail "$program without a display: exit $rc"
  [ "$ms" -lt 1000 ] || fail "$program without a display took $ms ms"
  grep -q "display" "$T/nodisplay.err" || fail "$program without a display said: $(cat "$T/nodisplay.err")"
done
[ -e "$HOME/.local" ] && fail "a program without a display touched HOME"

# 3. The dialog, from /, with a fresh HOME.
# A display of its own: no full-screen picture of another test covers the dialog.
start_private_display
. "$SOURCE_DIR/tests/e2e_launcher/dialog_lib.sh"
WORKDIR=$HOME/.local/share/tidewell

runFolderOk() {  # what the run is called
  (cd / && exec "$P/bin/tidewell-launcher") >"$T/launcher.out" 2>&1 &
  LAUNCHER_PID=$!
  WID=$(waitForWindow '^Tidewell Setup$' 60) || fail "$1: no setup dialog: $(cat "$T/launcher.out")"
  sleep 0.3  # the dialog takes clicks only a moment after it shows
  clickControl "$WID" 231 17 50 14  # OK of "Run From Local Folder"
  wait_until 10 eval 'TIDEWELL_PID=$(installedTidewell | head -1); [ -n "$TIDEWELL_PID" ] &&
    grep -q "loaded sounds up" "$WORKDIR/data/debug.txt" 2>/dev/null' || fail "$1: the installed tidewell did not start: $(cat "$T/launcher.out")"
  [ "$(cat "$WORKDIR/data/settings.txt")" = "1,0,0,0,0,0,0,2,2,demo1,currently disabled," ] ||
    fail "$1: settings '$(cat "$WORKDIR/data/settings.txt")'"
  [ "$(readlink "/proc/$TIDEWELL_PID/cwd")" = "$WORKDIR" ] || fail "$1: tidewell works in $(readlink "/proc/$TIDEWELL_PID/cwd")"
  grep -qx "demo1/" "$WORKDIR/data/debug.txt" || fail "$1: log: $(cat "$WORKDIR/data/debug.txt")"
  [ "$(ps -o sid= -p "$TIDEWELL_PID" | tr -d ' ')" = "$TIDEWELL_PID" ] || fail "$1: tidewell shares the launcher's session"
  ls -l "/proc/$TIDEWELL_PID/fd" | grep -q "$WORKDIR/data/settings.txt" && fail "$1: a descriptor leaked into tidewell"
}

quitLauncher() {
  # The full-screen picture covers the dialog: it goes first.
  kill "$TIDEWELL_PID" 2>/dev/null
  wait_until 5 gone "$TIDEWELL_PID"
  clickControl "$WID" 11 176 50 14  # Quit
  wait_until 5 gone "$LAUNCHER_PID" || fail "$1: the launcher did not quit"
  wait "$LAUNCHER_PID"; [ $? = 1 ] || fail "$1: launcher's exit code after Quit"
  LAUNCHER_PID=
}

# No usable audio driver: no capture device, a silent main program.
export SDL_AUDIODRIVER=nosuchdriver
runFolderOk "no audio driver"
for f in data/text C.wav demo1 demo2 demo3 demo4 autoaudio; do
  [ -e "$WORKDIR/$f" ] || fail "$WORKDIR lacks $f"
done
quitLauncher "no audio driver"

# The user's own files stay; what is missing comes back. Heard through the disk driver.
echo "my own C.wav" > "$WORKDIR/C.wav"
rm -rf "$WORKDIR/demo2" "$WORKDIR/data/debug.txt"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$T/out.raw
runFolderOk "disk audio"
[ "$(cat "$WORKDIR/C.wav")" = "my own C.wav" ] || fail "the user's C.wav was overwritten"
ls "$WORKDIR"/demo2/*.wav >/dev/null 2>&1 || fail "demo2 was not restored"
# The first hit comes within a few seconds; 30 s allows for a loaded machine.
wait_until 30 eval '[ -n "$(tr -d "\0" <"$T/out.raw" 2>/dev/null | head -c 1)" ]' || fail "tidewell was silent"
quitLauncher "disk audio"
echo PASS
