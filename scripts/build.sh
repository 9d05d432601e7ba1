#!/usr/bin/env bash
# Configures and builds into build/ (or build-asan/ with --sanitize).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=(-DCMAKE_BUILD_TYPE=Release)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABORA_SANITIZE=ON -DTABORA_BENCH=OFF)
  # Reuse the art drawn by the ordinary build when there is one.
  if [ -f build/resources/tabora.res ]; then
    args+=(-DTABORA_PREBUILT_ART="$PWD/build/resources/tabora.res")
  fi
  shift
fi
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja "${args[@]}" >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)" "$@"
