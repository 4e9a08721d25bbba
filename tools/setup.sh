#!/usr/bin/env bash
# Installs the Debian packages Tidewell needs to build, run and test.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libfltk1.3-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev libopenal-dev
  xvfb xauth xdotool x11-utils imagemagick sox python3
  pulseaudio pulseaudio-utils
  desktop-file-utils dpkg-dev file
  clang-14 libclang-rt-14-dev ccache
  librtmidi-dev libjack-jackd2-dev jackd2 python3-mido
  ableton-link-dev libasio-dev ableton-link-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
