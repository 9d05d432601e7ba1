#!/usr/bin/env bash
# Runs the test programs twice more under fontconfig configurations of their
# own: once with exactly the fonts scripts/setup.sh installs, once with the
# installed fonts plus more families (downloaded from Debian into a
# temporary folder, not installed). Tests must not depend on which extra
# families a machine has.
#   scripts/test-font-sets.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

conf() {  # conf NAME DIR... : a configuration reading only these folders
  {
    echo '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd"><fontconfig>'
    for dir in "${@:2}"; do echo "<dir>$dir</dir>"; done
    echo "<cachedir>$work/cache-$1</cachedir>"
    echo '<include ignore_missing="yes">/etc/fonts/conf.d</include></fontconfig>'
  } > "$work/$1.conf"
}

# Exactly the set: the font files of the packages setup.sh names.
mkdir -p "$work/exact"
for p in $(grep -o 'fonts-[a-z0-9-]*' scripts/setup.sh | sort -u); do
  dpkg -L "$p" | grep -E '\.(ttf|otf|ttc)$' | while read -r f; do ln -sf "$f" "$work/exact/"; done
done
conf exact "$work/exact"

# More: everything installed, and families with wide coverage besides.
mkdir -p "$work/debs" "$work/more"
(cd "$work/debs" && apt-get download -qq fonts-freefont-ttf fonts-unifont fonts-kacst \
   fonts-droid-fallback fonts-symbola 2>/dev/null)
for deb in "$work"/debs/*.deb; do dpkg -x "$deb" "$work/more"; done
conf more /usr/share/fonts "$work/more"

status=0
for set in exact more; do
  export FONTCONFIG_FILE=$work/$set.conf XDG_CACHE_HOME=$work/xdg-$set
  echo "font set '$set': $(fc-list : family | sort -u | wc -l) families"
  for program in tabora_tests tabora_cli_tests tabora_gui_tests; do
    [ -x "$build/tests/$program" ] || continue
    if QT_QPA_PLATFORM=offscreen "$build/tests/$program" --gtest_brief=1 > "$work/$program.log" 2>&1; then
      echo "  $program: $(grep -o '[0-9]* tests\? from' "$work/$program.log" | tail -1 | cut -d' ' -f1) passed"
    else
      status=1
      grep -E 'FAILED|Failure' "$work/$program.log" | head -20
    fi
  done
done
exit $status
