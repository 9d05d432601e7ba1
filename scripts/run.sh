#!/usr/bin/env bash
# Sets up, builds and runs the program: the desktop application when a display
# is there, otherwise a headless render of sample buttons into out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/app/tabora ]; then
  exec build/app/tabora "$@"
fi
bash scripts/samples.sh build out
