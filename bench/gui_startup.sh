#!/usr/bin/env bash
# Times the desktop application from process start to the first paint of the
# preview, under Xvfb: six runs, each printed in milliseconds.
# Usage: bench/gui_startup.sh [build-dir]
set -euo pipefail
build=${1:-build}
exe="$(cd "$(dirname "$0")/.." && pwd)/$build/app/tabora"
[ -x "$exe" ] || { echo "no $exe: build first" >&2; exit 1; }
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  for i in 1 2 3 4 5 6; do
    t0=$(date +%s%N)
    line=$(TABORA_STARTUP_PROBE=1 "'"$exe"'" 2>&1 | grep first-paint)
    t1=$(echo "$line" | cut -d" " -f2)
    echo "start to first paint: $(( (t1 - t0) / 1000000 )) ms"
  done'
