#!/usr/bin/env bash
# Runs a test program on a display: the test run's own, or a private Xvfb.
set -u
. "$(dirname "$0")/../e2e_tidewell/e2e_lib.sh"

ensure_display
"$@"
