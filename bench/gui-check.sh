#!/usr/bin/env bash
# Pixel-identity check between two builds of the desktop application.
#
#   bench/gui-check.sh OLD_TABORA NEW_TABORA [OUTDIR]
#
# Runs each program on a virtual display (Xvfb) and drives it with the
# keyboard and the mouse (xdotool): screenshots (xwd) of the window at start,
# the File and Save As menus, the options dialog of every format (with the
# drop shadow on, and the BMP one with it off), and the window after the
# saves; then compares every screenshot and every saved file byte for byte.
# Prints a summary; exits 0 when all is identical, 1 on any difference, 2 on
# a usage error. Installs xdotool and xwd when they are missing. Takes about
# a minute; keep the machine otherwise quiet, as the steps wait fixed times.
set -euo pipefail

source "$(dirname "$0")/check-arguments.sh"
read_check_arguments "$0" "$@"
old_app=$old
new_app=$new
bash "$(dirname "$0")/../scripts/setup.sh" xdotool x11-apps

pause() { sleep "${1:-1}"; }

# One run: screenshots and saved files into $2.
run_one() {
  local app=$1 dir=$2 display=:$((90 + RANDOM % 100))
  rm -rf "$dir"
  mkdir -p "$dir/shots" "$dir/saved" "$dir/runtime"
  chmod 700 "$dir/runtime"
  Xvfb "$display" -screen 0 800x700x24 > /dev/null 2>&1 &
  local xvfb=$!
  pause
  (
    export DISPLAY=$display XDG_RUNTIME_DIR=$dir/runtime HOME=$dir
    "$app" > /dev/null 2>&1 &
    local program=$!
    pause 3
    local win
    win=$(xdotool search --name '^Tabora' | head -1)
    root() { pause 1.2; xwd -root -silent > "$dir/shots/$1.xwd"; }
    window() {
      pause 1.2
      local id
      id=$(xdotool search --name "$2" | tail -1 || true)
      if [ -n "$id" ]; then xwd -id "$id" -silent > "$dir/shots/$1.xwd"; fi
    }
    xdotool windowfocus --sync "$win"
    root start
    xdotool key alt+f
    root file-menu
    xdotool key a
    root save-as-menu
    xdotool key Escape; pause 0.3; xdotool key Escape; pause 0.3
    save_as() {  # menu position, file name, screenshot name
      xdotool windowfocus --sync "$win"; xdotool key alt+f; pause 0.4; xdotool key a; pause 0.4
      for ((k = 0; k < $1; ++k)); do xdotool key Down; pause 0.1; done
      xdotool key Return; pause 1.5
      local dialog
      dialog=$(xdotool search --name 'Save|untitled' | tail -1 || true)
      if [ -n "$dialog" ]; then xdotool windowfocus --sync "$dialog"; fi
      xdotool type --delay 20 "$dir/saved/$2"; pause 0.3; xdotool key Return
      window "$3" 'Options'
      dialog=$(xdotool search --name 'Options' | tail -1 || true)
      if [ -n "$dialog" ]; then xdotool windowfocus --sync "$dialog"; fi
      xdotool key Escape; pause 1
    }
    save_as 0 shadow.gif options-gif
    save_as 1 shadow.jpg options-jpeg
    save_as 2 shadow.png options-png
    save_as 3 shadow.bmp options-bmp-none
    # The drop shadow off: its box sits 309 pixels into the client area, which
    # is 525 high and ends at the bottom of the window.
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove --window "$win" 237 $((HEIGHT - 525 + 309)) click 1
    root shadow-off
    save_as 3 plain.bmp options-bmp
    save_as 0 plain.gif options-gif-no-shadow
    root after-saves
    kill "$program" 2> /dev/null || true
  )
  kill "$xvfb" 2> /dev/null || true
  wait "$xvfb" 2> /dev/null || true
  rm -rf "$dir/runtime"
}

run_one "$old_app" "$out/old"
run_one "$new_app" "$out/new"

declare -i files=0 differing=0
report=()
while IFS= read -r name; do
  files+=1
  if ! cmp -s "$out/old/$name" "$out/new/$name"; then
    differing+=1
    report+=("differs: $name")
  fi
done < <( (cd "$out/old" && find shots saved -type f; cd "$out/new" && find shots saved -type f) | sort -u)

echo "gui-check: $((files - differing)) of $files screenshots and saved files identical"
if (( differing )); then
  printf '  %s\n' "${report[@]}"
  echo "gui-check: DIFFERENT; both runs are kept in $out (xwd screenshots)"
  exit 1
fi
echo "gui-check: IDENTICAL"
(( keep )) || rm -rf "$out"
exit 0
