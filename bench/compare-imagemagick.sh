#!/usr/bin/env bash
# Times tabora-cli against an ImageMagick pipeline that makes a comparable
# button: a pill body with a gradient, hue and brightness shifted, a drop
# shadow, a 12-point caption with its shadow, cropped to what is drawn.
#
#   bench/compare-imagemagick.sh [BUILD_DIR] [BUTTONS]
#
# The files go to a folder in memory (/dev/shm) when there is one, or to
# the folder TABORA_BENCH_DIR names: on a disk the cost of creating a file
# depends on how many files anything deleted in the last minutes, which
# says nothing about either program.
#
# One button: the median wall time of repeated runs, from process start to
# the file. Batch: tabora-cli batch of BUTTONS captioned buttons against one
# ImageMagick process per button, both on all cores; compared per button.
# Both write new files into an empty folder, so both pay the same for
# creating them. The batch is also run again over its own files, which then
# are replaced one by one through temporary files (ImageMagick would
# overwrite in place); that figure is shown as well.
#
# The batch runs first: on some file systems creating a file gets slower for
# minutes after many files were deleted, which the single-button runs (each
# replacing its previous output) do.
# ImageMagick is installed here (not by the project's setup) when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
buttons=${2:-1000}
cli="$build/cli/tabora-cli"
runs=41
[ -x "$cli" ] || { echo "compare: $cli is missing; build first" >&2; exit 1; }

if ! command -v convert >/dev/null 2>&1; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "compare: installing ImageMagick"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq >/dev/null
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends imagemagick >/dev/null
fi

base=${TABORA_BENCH_DIR:-}
if [ -z "$base" ]; then
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then base=/dev/shm; else base=${TMPDIR:-/tmp}; fi
fi
work=$(mktemp -d -p "$base")
trap 'rm -rf "$work"' EXIT
cores=$(nproc)

# Median wall time in microseconds of `runs` runs of the command given. The
# clock is the shell's own: starting `date` for a time stamp would add a
# process start (about as long as a whole tabora-cli run) to every figure.
median_us() {
  local i start end
  for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    "$@" >/dev/null
    end=$EPOCHREALTIME
    echo $((10#${end//[.,]/} - 10#${start//[.,]/}))
  done | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}
# Processor time (user + system, all threads and children) in microseconds
# per run, over `runs` runs: the figure that a busy machine distorts least.
cpu_us() {
  local TIMEFORMAT='%U %S' t
  t=$( { time (for ((i = 0; i < runs; i++)); do "$@" >/dev/null; done) ; } 2>&1 )
  awk -v t="$t" -v n="$runs" 'BEGIN { split(t, a, " "); printf "%d", (a[1] + a[2]) * 1e6 / n }'
}

im_button() {  # im_button OUT CAPTION
  convert -size 144x30 gradient:'#b8f070-#3c8a1c' \
    \( -size 144x30 xc:black -fill white -draw 'roundrectangle 0,0 143,29 14,14' \) \
    -alpha off -compose CopyOpacity -composite \
    -modulate 104,100,112 \
    \( +clone -background black -shadow 40x2+1+2 \) +swap -background none -compose Over -layers merge +repage \
    \( -size 174x74 xc:none -gravity center -font DejaVu-Sans -pointsize 12 -fill white -annotate +0+0 "$2" \
       \( +clone -background black -shadow 60x1+1+2 \) +swap -background none -layers merge +repage \) \
    -gravity center -compose Over -composite \
    -background white -flatten -trim +repage -depth 8 "$1"
}
ours_button() {  # ours_button OUT CAPTION
  "$cli" render -o "$1" --style 1 --caption "$2" --font "DejaVu Sans" --font-size 12 \
    --hue 600 --brightness 20
}
export -f im_button
export cli

# Warm the caches (the font configuration, the programs themselves).
im_button "$work/warm-im.png" Products
ours_button "$work/warm-ours.png" Products

# Batch: the same navigation-bar caption set, numbered.
batch_json() {  # batch_json FOLDER
  echo '{"defaults": {"styleNumber": 1, "fontName": "DejaVu Sans", "fontSize": 12, "hueShift": 600, "brightness": 20},'
  echo ' "buttons": ['
  for ((i = 0; i < buttons; i++)); do
    sep=','; [ $i -eq $((buttons - 1)) ] && sep=''
    echo "  {\"caption\": \"Item $i\", \"output\": \"$1/b$i.png\"}$sep"
  done
  echo ']}'
}
batch_json warm >"$work/warm.json"
batch_json out >"$work/batch.json"
mkdir -p "$work/warm" "$work/out" "$work/im-out"
"$cli" batch "$work/warm.json" >/dev/null
TIMEFORMAT='%R %U %S'
read -r ours_wall ours_user ours_sys < <( { time "$cli" batch "$work/batch.json" >/dev/null; } 2>&1 )
read -r over_wall over_user over_sys < <( { time "$cli" batch "$work/batch.json" >/dev/null; } 2>&1 )

im_count=$((buttons < 200 ? buttons : 200))
read -r im_wall im_user im_sys < <( { time (seq 0 $((im_count - 1)) |
  xargs -P "$cores" -I{} bash -c 'im_button "$0/im-out/b{}.png" "Item {}"' "$work") ; } 2>&1 )

im_one=$(median_us im_button "$work/im.png" Products)
ours_one=$(median_us ours_button "$work/ours.png" Products)
ours_plain=$(median_us "$cli" render -o "$work/plain.png" --style 1)
im_one_cpu=$(cpu_us im_button "$work/im.png" Products)
ours_one_cpu=$(cpu_us ours_button "$work/ours.png" Products)

awk -v io="$im_one" -v oo="$ours_one" -v op="$ours_plain" -v ioc="$im_one_cpu" -v ooc="$ours_one_cpu" \
    -v n="$buttons" -v ow="$ours_wall" -v ou="$ours_user" -v os="$ours_sys" \
    -v vw="$over_wall" -v vu="$over_user" -v vs="$over_sys" -v ic="$im_count" -v iw="$im_wall" -v iu="$im_user" -v is="$im_sys" -v cores="$cores" -v where="$base" 'BEGIN {
  printf "one captioned PNG, process start to file (median of runs; processor time per run):\n"
  printf "  tabora-cli render      %8.2f ms wall %8.2f ms cpu   (no caption: %.2f ms wall)\n", oo / 1000, ooc / 1000, op / 1000
  printf "  ImageMagick pipeline   %8.2f ms wall %8.2f ms cpu\n", io / 1000, ioc / 1000
  printf "  ratio                  %8.1fx     %8.1fx\n", io / oo, ioc / ooc
  printf "batch on %d cores, per button, files in %s:\n", cores, where
  printf "  tabora-cli batch       %8.3f ms wall %8.3f ms cpu   (%d buttons in %.3f s)\n", ow * 1000 / n, (ou + os) * 1000 / n, n, ow
  printf "  ImageMagick            %8.3f ms wall %8.3f ms cpu   (%d processes in %.3f s)\n", iw * 1000 / ic, (iu + is) * 1000 / ic, ic, iw
  printf "  ratio                  %8.1fx     %8.1fx\n", (iw / ic) / (ow / n), ((iu + is) / ic) / ((ou + os) / n)
  printf "  tabora-cli batch again, replacing its own files:\n"
  printf "                         %8.3f ms wall %8.3f ms cpu   (ratio %.1fx wall, %.1fx cpu)\n", vw * 1000 / n, (vu + vs) * 1000 / n, (iw / ic) / (vw / n), ((iu + is) / ic) / ((vu + vs) / n)
}'
