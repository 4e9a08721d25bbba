#!/usr/bin/env bash
# Sets up the machine, builds Tidewell and runs every test: unit and
# integration tests, end-to-end tests (each under an Xvfb display of its own,
# two at a time), the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the tests where threads meet under
# ThreadSanitizer, and a bounded fuzzing run of the readers. Each stage
# prints how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
tools/setup.sh

# Compiler cache: a machine that built Tidewell before (in any clone) compiles
# only what changed. Paths are taken relative to the clone, so clones in other
# folders share the cache.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi

status=0
stage_started=$SECONDS
stage() {
  [ -n "${stage_name:-}" ] && echo "-- $stage_name took $((SECONDS - stage_started)) s"
  stage_name=$1
  stage_started=$SECONDS
  [ -n "$stage_name" ] && echo "== $stage_name"
  return 0
}

stage "Release build"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
stage "Tests (release)"
ctest --preset release -j "$jobs" --timeout 300 || status=1

stage "Sanitizer build (unit tests only)"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
stage "Unit tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset asan -j "$jobs" -L unit --timeout 300 || status=1

stage "Mixer, capture, output-clock and recording tests (ThreadSanitizer)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --preset tsan -j "$jobs" --timeout 300 || status=1

if [ -x tools/run_fuzz.sh ]; then
  stage "Fuzzing the wave reader, sound buffers and settings reader"
  tools/run_fuzz.sh "${TIDEWELL_FUZZ_SECONDS:-60}" || status=1
fi
stage ""
echo "-- all stages: $SECONDS s"

exit $status
