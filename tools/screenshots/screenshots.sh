#!/usr/bin/env bash
# Screenshots of the desktop application on a virtual display (Xvfb), driven
# by the keyboard (xdotool), for looking at what a person sees:
#   archive-keyboard.png  the archive with the keyboard's highlight, after a
#                         style was picked with the keyboard alone
#   short-screen-200.png  1280 x 1024 at 200 %: the window fitted to it
#   german.png            the German translation (the pictures' words are art)
#   dark-desktop.png      a dark desktop theme: the window, its File menu
#                         and a prompt (dark-desktop-before.png: as it was)
#
#   tools/screenshots/screenshots.sh [OUTDIR] [TABORA]
#
# OUTDIR defaults to docs/screenshots, TABORA to build/app/tabora. Installs
# xdotool and xwd when they are missing. Waits fixed times: keep the machine
# otherwise quiet.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-$root/docs/screenshots}
app=${2:-$root/build/app/tabora}
[ -x "$app" ] || { echo "screenshots: no program at $app" >&2; exit 2; }
bash "$root/scripts/setup.sh" xdotool x11-apps
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shoot NAME SCREEN KEYS [VAR=VALUE...]: starts the program on a fresh
# display of size SCREEN, types KEYS (xdotool key names, "wait" pauses),
# and saves the whole screen as NAME.png.
shoot() {
  local name=$1 screen=$2 keys=$3
  shift 3
  local display=:$((150 + RANDOM % 100)) home=$work/$name
  mkdir -p "$home/runtime" "$home/.config"
  chmod 700 "$home/runtime"
  Xvfb "$display" -screen 0 "${screen}x24" > /dev/null 2>&1 &
  local xvfb=$!
  sleep 1
  (
    export DISPLAY=$display XDG_RUNTIME_DIR=$home/runtime HOME=$home
    export XDG_CONFIG_HOME=$home/.config LANG=C.UTF-8 LANGUAGE=
    for setting in "$@"; do export "${setting?}"; done
    "$app" > "$home/log" 2>&1 &
    local program=$!
    sleep 3
    local win
    win=$(xdotool search --name '^Tabora' | head -1)
    xdotool windowfocus --sync "$win"
    for key in $keys; do
      if [ "$key" = wait ]; then sleep 1; else xdotool key "$key"; sleep 0.2; fi
    done
    sleep 1
    xwd -root -silent > "$home/shot.xwd"
    kill "$program" 2> /dev/null || true
    wait "$program" 2> /dev/null || true
  )
  kill "$xvfb" 2> /dev/null || true
  wait "$xvfb" 2> /dev/null || true
  python3 "$here/xwd2png.py" "$home/shot.xwd" "$out/$name.png"
  echo "screenshots: $out/$name.png"
}

# The dark desktop: tabora-dark-shot hands the application a dark theme's
# palette as the desktop would and draws the window, its File menu and a
# prompt; once as the program answers it, once as it was before.
dark_shot() {
  local display=:$((150 + RANDOM % 100)) shot
  shot=$(dirname "$app")/tabora-dark-shot
  [ -x "$shot" ] || cmake --build "$(dirname "$(dirname "$app")")" --target tabora-dark-shot > /dev/null
  Xvfb "$display" -screen 0 1024x768x24 > /dev/null 2>&1 &
  local xvfb=$!
  sleep 1
  mkdir -p "$work/dark" && chmod 700 "$work/dark"
  DISPLAY=$display XDG_RUNTIME_DIR=$work/dark "$shot" "$out/dark-desktop.png"
  DISPLAY=$display XDG_RUNTIME_DIR=$work/dark "$shot" "$out/dark-desktop-before.png" --as-before
  kill "$xvfb" 2> /dev/null || true
  wait "$xvfb" 2> /dev/null || true
  echo "screenshots: $out/dark-desktop.png, $out/dark-desktop-before.png"
}

shoot archive-keyboard 800x700 "Down Down Right Return Down Right"
shoot short-screen-200 1280x1024 "" QT_SCALE_FACTOR=2
shoot german 800x600 "" LANG=de_DE.UTF-8
dark_shot
