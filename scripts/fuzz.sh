#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan, in build-fuzz/)
# and runs each for the given number of seconds, seeded with
# fuzz/corpus/<target>. Fails on the first crash or sanitizer report.
#   scripts/fuzz.sh [seconds] [target...]   default: 60 s, every target
# New inputs that reach new code go to build-fuzz/corpus/<target>, so the
# seeds in the repository stay as they are; a failing input is written to
# build-fuzz/crashes/<target>/ and the run's output to
# build-fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(packet_fuzzer option_fuzzer expression_fuzzer record_fuzzer)
fi

dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" -DNUV_BUILD_FUZZ=ON -DNUV_BUILD_TESTS=OFF \
  -DNUV_BUILD_BENCH=OFF
cmake --build "$dir" --target fuzzers

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$t" "$dir/crashes/$t" "$dir/logs"
  log="$dir/logs/$t.log"
  echo "fuzz: $t for ${seconds}s"
  if ! "$dir/fuzz/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$dir/crashes/$t/" "$dir/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    echo "fuzz: $t FAILED; the input is in $dir/crashes/$t/, the report:"
    tail -n 60 "$log"
    status=1
    break
  fi
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$log" | sed "s/^/fuzz: $t /"
done
exit $status
