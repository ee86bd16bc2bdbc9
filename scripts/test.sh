#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh             release build in build/, all tests
#   scripts/test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/, unit tests
#   scripts/test.sh --tsan      ThreadSanitizer build in build-tsan/ of what the
#                               tests labelled "threaded" (those that start
#                               threads) need (target threaded_tests); those tests
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

dir=build
# Line tables only (-g1): full debug info costs build time and nothing a
# failing test's stack trace needs.
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
filter=()
targets=()
if [ "${1:-}" = "--tsan" ]; then
  dir=build-tsan
  args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1"
        -DNUV_SANITIZE_THREAD=ON -DNUV_BUILD_BENCH=OFF)
  targets=(--target threaded_tests)
  filter=(-L threaded)
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
elif [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  args=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g1" -DNUV_SANITIZE=ON -DNUV_BUILD_BENCH=OFF)
  filter=(-L unit)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$dir" -G Ninja "${args[@]}"
cmake --build "$dir" "${targets[@]}"
ctest --test-dir "$dir" --output-on-failure -j2 "${filter[@]}"
