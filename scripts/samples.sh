#!/usr/bin/env bash
# Renders the sample pictures headlessly: samples.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=${1:-build}
out=${2:-out}
mkdir -p "$out"
"$build/tools/tabora-samples" "$out"
echo "Sample pictures written to $out/"
