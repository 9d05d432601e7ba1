#!/usr/bin/env bash
# CI's fuzz stage: builds every fuzz target with clang, libFuzzer and the
# sanitizers in build-fuzz/, then runs each for FUZZ_SECONDS (60 by default),
# starting from its seed corpus and the committed regression inputs. Any
# finding fails the stage; the input that caused it is kept under
# build-fuzz/findings/<target>/ and the log tail is printed.
#   scripts/fuzz-smoke.sh [TARGET...]     (default: every target)
# FUZZ_SECONDS, FUZZ_BUILD_DIR and TABORA_PREBUILT_ART change the run time,
# the build folder and the art reused from the ordinary build.
set -euo pipefail
cd "$(dirname "$0")/.."
# The ordinary build does not need clang; only this stage installs it.
bash scripts/setup.sh clang libclang-rt-14-dev

seconds=${FUZZ_SECONDS:-60}
dir=${FUZZ_BUILD_DIR:-build-fuzz}
# Reuse the art drawn by the ordinary build rather than draw it again with
# every sanitizer on.
art=${TABORA_PREBUILT_ART:-$PWD/build/resources/tabora.res}
start=$(date +%s)
if [ ! -f "$dir/build.ninja" ]; then
  args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABORA_FUZZ=ON -DTABORA_GUI=OFF -DTABORA_BENCH=OFF)
  if [ -f "$art" ]; then
    args+=(-DTABORA_PREBUILT_ART="$art")
  fi
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja "${args[@]}" >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)" --target tabora_fuzz
built=$(date +%s)

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for exe in "$dir"/fuzz/fuzz_*; do targets+=("${exe##*/fuzz_}"); done
fi

# One target per core at a time.
run() {
  local t=$1
  local inputs=("$dir/fuzz/seeds/$t")
  [ -d "tests/data/fuzz-regressions/$t" ] && inputs+=("tests/data/fuzz-regressions/$t")
  mkdir -p "$dir/corpus/$t" "$dir/findings/$t"
  # The structure-aware mutators of PNG and GIF need room for files of
  # thousands of chunks or records.
  local extra=()
  case $t in import_png|import_gif) extra=(-max_len=65536) ;; esac
  # A single allocation above 256 MB, or an input taking 10 s, is a finding.
  "$dir/fuzz/fuzz_$t" -max_total_time="$seconds" -malloc_limit_mb=256 -timeout=10 "${extra[@]}" \
    -print_final_stats=1 -artifact_prefix="$dir/findings/$t/" \
    "$dir/corpus/$t" "${inputs[@]}" >"$dir/findings/$t.log" 2>&1
}
declare -A pids=()
failed=()
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  run "$t" &
  pids[$t]=$!
done
for t in "${targets[@]}"; do
  if wait "${pids[$t]}"; then
    stats=$(grep -E '^#[0-9]+.*DONE' "$dir/findings/$t.log" | tail -1 || true)
    echo "fuzz $t: ok ${stats#*DONE}"
  else
    failed+=("$t")
    echo "fuzz $t: FINDING (input in $dir/findings/$t/)"
    tail -40 "$dir/findings/$t.log"
  fi
done
echo "fuzz stage: build $((built - start)) s, runs $(($(date +%s) - built)) s"
[ ${#failed[@]} -eq 0 ]
