#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ (installing clang when missing)
# and runs each for SECONDS (default 60) on a temporary copy of its seed
# corpus in fuzz/corpus/<target>. No input may crash, take over 1 s or
# allocate over 1 GiB. Exits non-zero when any target found something; the
# input that did it is kept in build-fuzz/fuzz-artifacts/<target>/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]   targets: document import json gtfs czptt
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(document import json gtfs czptt)

scripts/deps.sh --fuzz

dir=build-fuzz
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVLAKORYS_FUZZ=ON -DVLAKORYS_BUILD_TESTS=OFF
       -DVLAKORYS_BUILD_BENCHMARKS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
if command -v ccache >/dev/null 2>&1; then
  flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
CC=clang CXX=clang++ cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp}
mkdir -p "$dir/fuzz-logs"

passed=0
failed=0
for t in "${targets[@]}"; do
  corpus="$work/$t"
  artifacts="$PWD/$dir/fuzz-artifacts/$t"
  log="$dir/fuzz-logs/$t.log"
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$t"/* "$corpus"/
  echo "fuzz_$t: ${seconds} s (log: $log)"
  if "$dir/fuzz/fuzz_$t" "$corpus" -max_total_time="$seconds" -timeout=1 \
      -rss_limit_mb=1024 -malloc_limit_mb=1024 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' "$log" \
      | sed 's/^/  /' || true
    passed=$((passed + 1))
  else
    echo "fuzz_$t FAILED; the report:"
    grep -v -E '^#[0-9]+' "$log" | tail -n 60
    echo "the input is in $artifacts/"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
