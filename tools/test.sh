#!/usr/bin/env bash
# Sets up the machine, builds Tidewell and runs every test: unit and
# integration tests, end-to-end tests under a virtual display, the unit tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded
# fuzzing run of the wave reader.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
tools/setup.sh

# A virtual display for the tests that open real windows.
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY="$display"

status=0

echo "== Release build"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
echo "== Tests (release)"
ctest --preset release -j 2 --timeout 300 || status=1

echo "== Sanitizer build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
echo "== Unit tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset asan -j 2 -L unit --timeout 300 || status=1

echo "== Mixer, capture and output-clock tests (ThreadSanitizer)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --preset tsan -j 2 --timeout 300 || status=1

if [ -x tools/run_fuzz.sh ]; then
  echo "== Fuzzing the wave reader"
  tools/run_fuzz.sh "${TIDEWELL_FUZZ_SECONDS:-60}" || status=1
fi

exit $status
