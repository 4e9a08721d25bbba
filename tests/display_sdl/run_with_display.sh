#!/usr/bin/env bash
# Runs a test program on a private Xvfb display of its own.
set -u
. "$(dirname "$0")/../e2e_tidewell/e2e_lib.sh"

start_private_display
"$@"
