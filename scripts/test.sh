#!/usr/bin/env bash
# Sets up, builds and runs every test. With --sanitize, builds with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the tests again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  bash scripts/build.sh --sanitize
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  bash scripts/build.sh
fi
# Wall-clock budgets fail on a loaded machine for no fault of the code; they
# run on a quiet one with `ctest --test-dir build -L timing`.
ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$(nproc)" -LE timing
