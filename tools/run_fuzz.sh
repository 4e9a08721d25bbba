#!/usr/bin/env bash
# Builds the fuzzers (preset "fuzz", clang-14) and runs each in turn for a
# bounded time, every one under AddressSanitizer and UndefinedBehaviorSanitizer
# with a 64 MB allocation limit:
#   wave_reader      bytes as a WAV file, read as a track reads it, then played
#   sound_buffer     a format record and buffer description, decoded and mixed
#   settings_reader  bytes as the settings file
#
#   tools/run_fuzz.sh [SECONDS]        SECONDS in all, shared out (default 60)
#   tools/run_fuzz.sh --each SECONDS   SECONDS for every fuzzer (e.g. 600)
# Prints each fuzzer's executions; exits non-zero when one finds a crash, a
# hang, a leak or an over-large allocation (the input is kept as
# build/fuzz/<name>/crash-* and the like). The corpora grow from run to run.
set -euo pipefail

fuzzers=(wave_reader sound_buffer settings_reader)
if [ "${1:-}" = "--each" ]; then
  each=${2:?seconds}
else
  each=$(( ${1:-60} / ${#fuzzers[@]} ))
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz

cd "$root"
cmake --preset fuzz >/dev/null
if ! cmake --build "$build" -j2 --target make_wave_seeds "${fuzzers[@]/%/_fuzzer}" >"$build/build.log" 2>&1; then
  echo "the fuzzers did not build:" >&2
  grep -E 'error|FAILED' "$build/build.log" >&2 || tail -20 "$build/build.log" >&2
  exit 1
fi

status=0
for name in "${fuzzers[@]}"; do
  work=$build/$name
  mkdir -p "$work/corpus" "$work/seeds"
  case $name in
    wave_reader) "$build/fuzz/make_wave_seeds" "$work/seeds" ;;
    settings_reader)
      printf '1,0,0,0,0,0,0,2,2,demo1,currently disabled,' >"$work/seeds/launcher_defaults"
      printf '2,4,4,4,4,4,4,7,4,a very long folder name with spaces,x,' >"$work/seeds/every_last_entry" ;;
  esac
  set +e
  "$build/fuzz/${name}_fuzzer" \
    -max_total_time="$each" -timeout=5 -rss_limit_mb=1024 -malloc_limit_mb=64 \
    -print_final_stats=1 -artifact_prefix="$work/" \
    "$work/corpus" "$work/seeds" >"$work/log" 2>&1
  result=$?
  set -e
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$work/log" | grep -oE '[0-9]+$' || true)
  corpus=$(find "$work/corpus" -type f | wc -l)
  echo "${name}_fuzzer: ${runs:-?} executions in ${each} s, corpus of ${corpus} inputs"
  if [ "$result" -ne 0 ]; then
    status=$result
    echo "${name}_fuzzer: finding (exit $result), see $work/log:" >&2
    grep -E 'ERROR|SUMMARY|Test unit written' "$work/log" >&2 || tail -20 "$work/log" >&2
  fi
done
exit "$status"
