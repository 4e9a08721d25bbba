#!/usr/bin/env bash
# Builds the wave reader's fuzzer (preset "fuzz", clang-14) and runs it for a
# bounded time, seeded with small generated WAVs.
#   tools/run_fuzz.sh [SECONDS]      default 60
# Prints the number of executions; exits non-zero when the fuzzer finds a
# crash, a hang, a leak or an allocation over 64 MB (the input is kept as
# build/fuzz/wave_reader/crash-* and the like).
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
work=$build/wave_reader

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build "$build" --target wave_reader_fuzzer make_wave_seeds -j2 >/dev/null

mkdir -p "$work/corpus" "$work/seeds"
"$build/fuzz/make_wave_seeds" "$work/seeds"

set +e
"$build/fuzz/wave_reader_fuzzer" \
  -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -malloc_limit_mb=64 \
  -print_final_stats=1 -artifact_prefix="$work/" \
  "$work/corpus" "$work/seeds" >"$work/log" 2>&1
status=$?
set -e

runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$work/log" | grep -oE '[0-9]+$' || true)
corpus=$(find "$work/corpus" -type f | wc -l)
echo "wave_reader_fuzzer: ${runs:-?} executions in ${seconds} s, corpus of ${corpus} inputs"
if [ "$status" -ne 0 ]; then
  echo "wave_reader_fuzzer: finding (exit $status), see $work/log:" >&2
  grep -E 'ERROR|SUMMARY|Test unit written' "$work/log" >&2 || tail -20 "$work/log" >&2
fi
exit "$status"
