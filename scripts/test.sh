#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh             release build in build/, all tests
#   scripts/test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/, unit tests
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

dir=build
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
filter=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  args=(-DCMAKE_BUILD_TYPE=Debug -DNUV_SANITIZE=ON)
  filter=(-L unit)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$dir" -G Ninja "${args[@]}"
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j2 "${filter[@]}"
