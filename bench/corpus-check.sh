#!/usr/bin/env bash
# Byte-identity check between two builds of the command line tool.
#
#   bench/corpus-check.sh [--images-only] OLD_CLI NEW_CLI [OUTDIR]
#
# Renders a fixed corpus with each tabora-cli and compares every file the two
# runs produced, byte for byte:
#   - 360 buttons through `batch -j 1` (90 settings in each of the four
#     formats): captions and none, crisp and antialiased captions, every
#     combination of drop shadow, caption shadow, removed background and
#     shadow area, shrunk, natural and widened sizes, hue and brightness,
#     bold and italic, colours, caption offsets, JPEG qualities and fonts from
#     the packages the setup installs (a missing one falls back the same way
#     for both runs); one worker, so the reuse of a button between settings
#     is the same in both runs;
#   - a batch with fitCaption, sameSize and html;
#   - `render` with command-line options, --settings and --from (a button
#     opened in every format and saved in every other);
#   - `style N -o` pictures;
#   - the files of older versions and other programs committed under
#     tests/data (opened and saved again), when run from a checkout;
#   - the text of every command: `inspect` and `inspect --json` of every
#     image, help texts, the catalogue listing, and the message and exit
#     status of refused options, bad settings files and damaged or foreign
#     files (cut short, block removed, wrong extension).
# Images are the *.png, *.gif, *.jpg and *.bmp files (and the HTML fragment);
# texts are the transcripts of each run. --images-only compares the images
# alone, for a change that is meant to alter texts (a new option in the
# help) but no picture.
#
# Each run works in its own folder (OUTDIR/old, OUTDIR/new) with the same
# relative names and its own font-lookup cache, so messages that quote a
# file name match. OUTDIR defaults to a temporary folder that is removed when
# everything matches. Prints a summary; exits 0 when every file is identical,
# 1 on any difference (the first differences are listed), 2 on a usage error.
# Takes a few seconds.
set -euo pipefail

images_only=0
if [ "${1:-}" = "--images-only" ]; then
  images_only=1
  shift
fi
source "$(dirname "$0")/check-arguments.sh"
read_check_arguments "$0" "$@"
old_cli=$old
new_cli=$new
rm -rf "$out/old" "$out/new" "$out/corpus"

# ---- the corpus: the same files are copied into both run folders ----------
corpus="$out/corpus"
mkdir -p "$corpus"

# Styles with a picture, their size and widening, from the catalogue listing:
# "style resource rect WxH stretch column".
"$old_cli" styles | awk 'NR > 1 && $4 != "no" { split($4, wh, "x"); print $1, wh[1], $5, $6 }' \
  > "$corpus/catalogue.txt"
mapfile -t catalogue < "$corpus/catalogue.txt"
# Every eleventh style with a picture, and the first style of each shape.
picked=()
declare -A seen_shape=()
for i in "${!catalogue[@]}"; do
  read -r n width stretch column <<< "${catalogue[$i]}"
  shape="$width/$stretch/$column"
  if (( i % 11 == 0 )) || [ -z "${seen_shape[$shape]:-}" ]; then
    picked+=("$n $width $stretch $column")
    seen_shape[$shape]=1
  fi
done

captions=("" "Home" "Contact us" "Download now" "W" "Ünïcödé Ωmega"
          "A caption far too long for any button at all" "€uro — “quotes”"
          "x" "Products &amp; <b>" "Tab	and  spaces")
hues=(0 0 341 1023 2046 3000 4091 4092 4096)
brightnesses=(0 -205 -120 -1 1 77 205)
fonts=("Arial" "DejaVu Sans" "Liberation Serif" "DejaVu Serif" "Liberation Mono"
       "DejaVu Sans Mono" "Times New Roman" "Courier New")
font_sizes=(12 8 9 10 14 18 24 36 48 -13 72)
text_colors=("#FFFFFF" "#000000" "#FF0000" "#00FF80" "#123456" "#FFFF00")
backgrounds=("#FFFFFF" "#000000" "#F0F0F0" "#203040" "#FF00FF" "#80C0FF")
offsets=("0 0" "1 0" "0 -1" "3 -2" "-10 5" "0 30" "90 0" "-1000 1000")
qualities=(100 90 75 50 25 10 1 0)
bools=(false true)

json_text() {  # a JSON string literal (the captions hold no backslash or quote)
  local s=${1//	/\\t}
  printf '"%s"' "$s"
}

# One JSON settings object per case, the same for all four formats.
case_json() {
  local i=$1
  local entry n width stretch column
  entry=${picked[$(( (i * 7) % ${#picked[@]} ))]}
  read -r n width stretch column <<< "$entry"
  (( i % 17 == 5 )) && n=0
  local largest=200
  if [ "$n" -ne 0 ] && [ "$column" -ge 0 ]; then
    largest=$(( 200 + 2 * (166 - width > 0 ? 166 - width : 0) ))
    (( 200 + 2 * stretch > largest )) && largest=$(( 200 + 2 * stretch ))
  fi
  local sizes=("" 20 60 120 199 200 $(( 200 + (largest - 200) / 4 )) $(( 200 + (largest - 200) * 3 / 4 )) "$largest")
  local size=${sizes[$(( (i * 5) % 9 ))]}
  local offset x y
  offset=${offsets[$(( (i * 19) % 8 ))]}
  read -r x y <<< "$offset"
  local style_bits=$(( (i * 11) % 4 ))
  printf '{"styleNumber": %d' "$n"
  [ -n "$size" ] && printf ', "buttonSize": %d' "$size"
  printf ', "caption": %s' "$(json_text "${captions[$(( i % 11 ))]}")"
  printf ', "antialias": %s, "shadow": %s, "textShadow": %s' \
    "${bools[$(( i & 1 ))]}" "${bools[$(( (i >> 1) & 1 ))]}" "${bools[$(( (i >> 2) & 1 ))]}"
  printf ', "removeBackground": %s, "includeShadowArea": %s' \
    "${bools[$(( (i >> 3) & 1 ))]}" "${bools[$(( (i >> 4) & 1 ))]}"
  printf ', "hueShift": %d, "brightness": %d' "${hues[$(( (i * 3) % 9 ))]}" "${brightnesses[$(( (i * 5) % 7 ))]}"
  printf ', "fontName": "%s", "fontSize": %d' "${fonts[$(( (i * 7) % 8 ))]}" "${font_sizes[$(( (i * 3) % 11 ))]}"
  printf ', "bold": %s, "italic": %s' "${bools[$(( style_bits & 1 ))]}" "${bools[$(( style_bits >> 1 ))]}"
  printf ', "textColor": "%s", "backgroundColor": "%s"' \
    "${text_colors[$(( (i * 13) % 6 ))]}" "${backgrounds[$(( (i * 17) % 6 ))]}"
  printf ', "textOffset": {"x": %d, "y": %d}' "$x" "$y"
  printf ', "jpegQuality": %d}' "${qualities[$(( (i * 23) % 8 ))]}"
}

cases=90
{
  echo '{"buttons": ['
  first=1
  for ext in gif png jpg bmp; do
    for (( i = 0; i < cases; ++i )); do
      (( first )) || echo ','
      first=0
      settings=$(case_json "$i")
      printf '  %s, "output": "batch/%s/case-%02d.%s"}' "${settings%\}}" "$ext" "$i" "$ext"
    done
  done
  echo
  echo ']}'
} > "$corpus/batch.json"

# A bar: fitted, made even, with the HTML fragment.
cat > "$corpus/bar.json" <<'JSON'
{"fitCaption": true, "sameSize": true, "html": "bar.html",
 "defaults": {"styleNumber": 12, "fontSize": 11, "bold": true, "removeBackground": true},
 "buttons": [{"output": "bar/home.png", "caption": "Home"},
             {"output": "bar/products.gif", "caption": "Products and services"},
             {"output": "bar/support.jpg", "caption": "Support", "styleNumber": 620},
             {"output": "bar/empty.bmp", "caption": ""},
             {"output": "bar/about us.png", "caption": "About us", "antialias": true},
             {"output": "bar/w.png", "caption": "W", "styleNumber": 2}]}
JSON
cat > "$corpus/fit.json" <<'JSON'
{
  "defaults": {"styleNumber": 462, "antialias": true},
  "fitCaption": true,
  "buttons": [
    {"caption": "A", "output": "fit/a.png"},
    {"caption": "A longer caption", "output": "fit/long.png"},
    {"caption": "Longest caption of them all, really", "output": "fit/longest.gif"}
  ]
}
JSON
cat > "$corpus/settings.json" <<'JSON'
{"styleNumber": 767, "caption": "From JSON", "hueShift": 1500, "antialias": true,
 "textOffset": {"x": -2, "y": 1}, "fontName": "DejaVu Serif", "fontSize": 16, "italic": true}
JSON
# Settings files and batches that must be refused, each for one reason.
bad_json=(
  '{"styleNumber": 12, "colour": "#FFFFFF"}'
  '{"hueShift": 5000}'
  '{"hueShift": "5"}'
  '{"brightness": -206}'
  '{"fontSize": 301}'
  '{"buttonSize": 19}'
  '{"styleNumber": 2, "buttonSize": 300}'
  '{"styleNumber": 3}'
  '{"styleNumber": 931}'
  '{"shadow": 1}'
  '{"textColor": "#12345"}'
  '{"textColor": 16777215}'
  '{"textOffset": {"x": 1001}}'
  '{"textOffset": {"x": 1, "z": 2}}'
  '{"textOffset": [1, 2]}'
  '{"jpegQuality": 101}'
  '{"caption": 12}'
  '["not", "an", "object"]'
  '{"caption": "unterminated'
  '{"payloadVersion": 259, "format": "png", "caption": "inspect form"}'
)
for i in "${!bad_json[@]}"; do
  printf '%s\n' "${bad_json[$i]}" > "$corpus/bad-$i.json"
done
bad_batches=(
  '{"buttons": [{"output": "x.png"}, {"output": "./x.png"}]}'
  '{"buttons": [{"output": "x.jpeg"}]}'
  '{"buttons": [{"caption": "no output"}]}'
  '{"buttons": {}}'
  '{"defaults": {"hueShift": -1}, "buttons": []}'
  '{"buttons": [], "extra": 1}'
  '{"buttons": [], "html": ""}'
  '{"buttons": [], "fitCaption": "yes"}'
)
for i in "${!bad_batches[@]}"; do
  printf '%s\n' "${bad_batches[$i]}" > "$corpus/bad-batch-$i.json"
done
printf 'not an image at all\n' > "$corpus/plain.txt"
# The committed files of older versions and other programs, when the script
# runs from a checkout that has them.
data=$(dirname "$(realpath "$0")")/../tests/data
for folder in payloads foreign; do
  if [ -d "$data/$folder" ]; then cp -r "$data/$folder" "$corpus/$folder"; fi
done

# ---- one run --------------------------------------------------------------
# Appends what a command printed and its exit status to the transcript.
log() {
  local status=0
  {
    printf '$ tabora-cli'
    printf ' [%s]' "$@"
    printf '\n'
  } >> transcript.txt
  "$cli" "$@" >> transcript.txt 2> .stderr || status=$?
  printf -- '--- stderr\n%s\n--- exit %d\n\n' "$(< .stderr)" "$status" >> transcript.txt
}

# A copy of `file` without `count` bytes from `offset`.
cut_out() {
  local file=$1 offset=$2 count=$3 to=$4
  { head -c "$offset" "$file"; tail -c +$(( offset + count + 1 )) "$file"; } > "$to"
}
# The big-endian 16 or 32-bit value at an offset.
be16() { od -An -tu1 -j "$2" -N 2 "$1" | awk '{ print $1 * 256 + $2 }'; }
be32() { od -An -tu1 -j "$2" -N 4 "$1" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'; }

run_all() {
  local cli=$1 run_dir=$2
  mkdir -p "$run_dir"
  cp -r "$corpus/." "$run_dir/"
  cd "$run_dir"
  # The tool writes into folders that exist; it makes none.
  mkdir -p batch/gif batch/png batch/jpg batch/bmp bar fit rc from style damaged
  export XDG_CACHE_HOME="$run_dir/.cache"
  : > transcript.txt

  log --help
  for command in render inspect styles style batch; do log "$command" --help; done
  log styles
  log styles --json
  log frobnicate
  log

  log batch batch.json -j 1
  log batch bar.json -j 1
  log batch fit.json -j 1

  # The command line's own options.
  local long_caption
  long_caption=$(printf 'c%.0s' {1..256})
  log render -o rc/home.png --style 12 --caption "Home" --bold --remove-background
  log render -o rc/contact.gif --style 12 --caption "Contact us" --hue 2048 --remove-background --background "#F0F0F0"
  log render -o rc/download.jpg --style 179 --caption "Download" --brightness 40 --text-color "#FFFFE0" --antialias --quality 90
  log render -o rc/news.bmp --style 477 --caption "News" --italic --no-shadow --background 203040
  log render -o rc/plain.png --style 885 --remove-background --include-shadow-area
  log render -o rc/default-size.PNG --style 12
  log render -o rc/v1.2.png --style 4 --caption "v1.2"
  log render -o rc/tiny.jpg --style 1 --size 20 --caption "Tiny" --font "DejaVu Sans" --font-size 8
  log render -o rc/wide.gif --style 767 --size 348 --caption "Wide" --font-size 20 --no-text-shadow
  log render -o rc/nostyle.bmp --style 0 --caption "No style" --no-text-shadow --offset 5,-3
  log render -o rc/switches.png --style 12 --caption "Switches" --no-antialias --no-shadow --text-shadow --include-shadow-area
  log render -o rc/q1.jpg --style 12 --caption "Q1" --quality 1
  log render -o rc/q0.jpg --style 12 --quality 0
  log render -o rc/bi.gif --style 330 --caption "Bold italic" --bold --italic --antialias --font "Liberation Serif" --font-size 14
  log render -o rc/offset.png --style 882 --caption "Off" --offset " -40 , 12 "
  log render -o rc/defaults.bmp
  log render -o rc/json.png --settings settings.json
  log render -o rc/json-over.jpg --settings settings.json --caption "Option wins" --hue 10 --no-antialias
  log render -o rc/inspect-form.png --settings bad-19.json

  # Refused options: message and status, nothing written.
  log render -o rc/bad.jpeg --style 12
  log render -o rc/noext --style 12
  log render --style 12
  log render -o rc/e.png --style 931
  log render -o rc/e.png --style 3
  log render -o rc/e.png --style x12
  log render -o rc/e.png --style 12 --size 999
  log render -o rc/e.png --style 2 --size 250
  log render -o rc/e.png --size 10
  log render -o rc/e.png --hue 5000
  log render -o rc/e.png --brightness -206
  log render -o rc/e.png --font-size 0
  log render -o rc/e.png --offset 1001,0
  log render -o rc/e.png --offset 5
  log render -o rc/e.png --text-color 12345
  log render -o rc/e.png --background "#GG0000"
  log render -o rc/e.png --quality 101
  log render -o rc/e.png --caption "$long_caption"
  log render -o rc/e.png --shadow --no-shadow
  log render -o rc/e.png --settings missing.json
  for i in "${!bad_json[@]}"; do log render -o rc/e.png --settings "bad-$i.json"; done
  for i in "${!bad_batches[@]}"; do log batch "bad-batch-$i.json"; done
  log batch batch.json -j 0

  # Opened in every format, saved in every other.
  local from to
  for from in gif png jpg bmp; do
    for to in gif png jpg bmp; do
      log render -o "from/$from-to.$to" --from "batch/$from/case-13.$from"
    done
    log render -o "from/$from-changed.png" --from "batch/$from/case-42.$from" --caption "Changed" --style 620
  done
  log render -o from/from-text.png --from plain.txt
  log render -o from/from-missing.png --from missing.png

  # Style pictures.
  for n in 1 2 12 462 767 882 930; do log style "$n" -o "style/style-$n.png"; done
  log style 3 -o style/heading.png
  log style 12 -o style/style-12.jpg
  log style 0 -o style/zero.png

  # Damaged and foreign files: cut short, block removed, wrong extension.
  local f ext size
  for f in batch/gif/case-07.gif batch/png/case-07.png batch/jpg/case-07.jpg batch/bmp/case-07.bmp; do
    ext=${f##*.}
    size=$(stat -c %s "$f")
    for at in 0 3 10 30 60 120 $(( size / 2 )) $(( size - 40 )) $(( size - 1 )); do
      (( at < size )) && head -c "$at" "$f" > "damaged/cut-$at.$ext"
    done
  done
  # JPEG: SOI, the 18-byte JFIF marker, then our APP12 marker.
  f=batch/jpg/case-07.jpg
  cut_out "$f" 20 $(( 2 + $(be16 "$f" 22) )) damaged/no-block.jpg
  # PNG: signature and header chunk (33 bytes), then our text chunk.
  f=batch/png/case-07.png
  cut_out "$f" 33 $(( 12 + $(be32 "$f" 33) )) damaged/no-block.png
  # BMP: the block sits between the headers (54 bytes) and the pixels.
  f=batch/bmp/case-07.bmp
  { head -c 54 "$f" | head -c 10; printf '\x36\x00\x00\x00'; head -c 54 "$f" | tail -c 40;
    tail -c +$(( $(od -An -tu4 -j 10 -N 4 "$f") + 1 )) "$f"; } > damaged/no-block.bmp
  # GIF: the same bytes with the comment's signature spoiled.
  f=batch/gif/case-07.gif
  sed 's/54627261/54627262/' "$f" > damaged/wrong-signature.gif
  cp batch/png/case-07.png damaged/png-named.jpg
  cp batch/gif/case-07.gif damaged/gif-named.bmp
  cp batch/jpg/case-07.jpg damaged/jpg-named.txt
  cp batch/bmp/case-07.bmp damaged/bmp-named
  cp plain.txt damaged/text.png
  log inspect missing.png
  log inspect damaged
  for f in payloads/* foreign/*; do
    [ -f "$f" ] || continue
    log render -o "from/committed-$(basename "${f%.*}")-${f##*.}.png" --from "$f"
  done

  # What every image says about itself.
  local image
  while IFS= read -r image; do
    log inspect --json "$image"
  done < <(find . -path ./.cache -prune -o -type f ! -name transcript.txt ! -name .stderr \
             ! -name catalogue.txt ! -name '*.json' -print | sort)
  for f in rc/home.png rc/contact.gif rc/download.jpg rc/news.bmp damaged/no-block.jpg; do
    log inspect "$f"
  done
  rm -f .stderr
  cd - > /dev/null
}

run_all "$old_cli" "$out/old"
run_all "$new_cli" "$out/new"

# ---- comparison -----------------------------------------------------------
list_files() {
  (cd "$1" && find . -path ./.cache -prune -o -type f -print | sed 's|^\./||' | sort)
}
# What each run wrote: its folder less the corpus copied into it.
outputs() { comm -23 <(list_files "$1") <(list_files "$corpus"); }
is_text() { [ "$1" = transcript.txt ]; }

declare -i images=0 texts=0 image_diffs=0 text_diffs=0
differences=()
while IFS= read -r name; do
  if is_text "$name"; then
    (( images_only )) && continue
    texts+=1
  else
    images+=1
  fi
  if [ ! -f "$out/old/$name" ] || [ ! -f "$out/new/$name" ] || ! cmp -s "$out/old/$name" "$out/new/$name"; then
    if is_text "$name"; then text_diffs+=1; else image_diffs+=1; fi
    if [ ! -f "$out/old/$name" ]; then
      differences+=("only from NEW: $name")
    elif [ ! -f "$out/new/$name" ]; then
      differences+=("only from OLD: $name")
    else
      differences+=("differs: $name")
    fi
  fi
done < <({ outputs "$out/old"; outputs "$out/new"; } | sort -u)

commands=$(grep -c '^\$ tabora-cli' "$out/old/transcript.txt")
echo "corpus-check: $images files written (images, style pictures, an HTML fragment), $commands commands run by each tool"
echo "  images: $(( images - image_diffs )) of $images identical"
if (( images_only )); then
  echo "  texts:  not compared (--images-only)"
else
  echo "  texts:  $(( texts - text_diffs )) of $texts transcripts identical"
fi
if (( ${#differences[@]} )); then
  printf '  %s\n' "${differences[@]:0:20}"
  (( ${#differences[@]} > 20 )) && echo "  ... and $(( ${#differences[@]} - 20 )) more"
  if (( text_diffs )); then
    diff "$out/old/transcript.txt" "$out/new/transcript.txt" > "$out/transcript.diff" || true
    # The command whose output differs first, then the first changed lines.
    first=$(grep -m1 -o '^[0-9]*' "$out/transcript.diff")
    echo "  the transcripts first differ after:"
    head -n "$first" "$out/old/transcript.txt" | grep '^\$ tabora-cli' | tail -1 | sed 's/^/    /'
    head -20 "$out/transcript.diff" | sed 's/^/    /'
    echo "  (the whole difference: $out/transcript.diff)"
  fi
  echo "corpus-check: DIFFERENT; both runs are kept in $out"
  exit 1
fi
echo "corpus-check: IDENTICAL"
(( keep )) || rm -rf "$out"
exit 0
