#!/usr/bin/env bash
# Sets up the machine, builds Tidewell and starts the launcher in the
# assembled working directory (build/release/run).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
cd build/release/run
if [ -x ./tidewell-launcher ]; then
  exec ./tidewell-launcher
fi
exec ./tidewell
