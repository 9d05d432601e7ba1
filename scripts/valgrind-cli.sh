#!/usr/bin/env bash
# Runs tabora-cli under valgrind's memcheck on a round trip in every format:
# render a button, inspect it, render it again from the saved file and from
# the inspected settings into the next format; then shaped captions, and a
# button's states written as files and sprites and opened again. Any memory error or definite
# leak fails the script.
#   scripts/valgrind-cli.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
# The ordinary build does not need valgrind; only this check installs it.
bash scripts/setup.sh valgrind
if [ "$build" = build ]; then
  bash scripts/build.sh --target tabora-cli >/dev/null
fi
cli=$PWD/$build/cli/tabora-cli
[ -x "$cli" ] || { echo "valgrind-cli: no $cli" >&2; exit 1; }

supp=$PWD/scripts/valgrind.supp
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A cache of font lookups of its own: the first run takes the cold path.
export XDG_CACHE_HOME=$work/cache

memcheck() {
  valgrind --tool=memcheck --quiet --error-exitcode=99 --leak-check=full \
    --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
    --track-origins=yes --suppressions="$supp" "$cli" "$@"
}

start=$(date +%s)
# Every format the tool writes, as its help lists them ("gif, png, jpg, bmp or webp").
read -r -a formats <<< "$("$cli" render --help |
  sed -n 's/.*from its extension: \(.*\), in any case.*/\1/p' | sed 's/,//g; s/ or / /')"
[ ${#formats[@]} -ge 4 ] || { echo "valgrind-cli: no formats in the help" >&2; exit 1; }
for i in "${!formats[@]}"; do
  f=${formats[$i]}
  next=${formats[$(((i + 1) % ${#formats[@]}))]}
  memcheck render --style $((12 + i)) --caption "Round trip $f" --font "DejaVu Sans" --bold \
    --hue 900 --brightness -30 --text-color FFEE00 --background 203040 --antialias \
    --remove-background --include-shadow-area --quality 70 --offset 2,-1 -o "$work/a.$f"
  memcheck inspect --json "$work/a.$f" >"$work/a.$f.json"
  grep -q "\"caption\": \"Round trip $f\"" "$work/a.$f.json" || {
    echo "valgrind-cli: $f did not keep its caption" >&2
    cat "$work/a.$f.json" >&2
    exit 1
  }
  memcheck render --from "$work/a.$f" -o "$work/b.$next"
  memcheck render --settings "$work/a.$f.json" -o "$work/c.$next"
  memcheck inspect "$work/b.$next" >/dev/null
  memcheck inspect --json "$work/c.$next" >"$work/c.$next.json"
  cmp -s <(grep -v '"format"' "$work/c.$next.json") <(grep -v '"format"' "$work/a.$f.json") || {
    echo "valgrind-cli: settings changed on the way from $f to $next" >&2
    exit 1
  }
  echo "valgrind-cli: $f -> $next clean"
done
# A caption that is shaped, reordered, drawn from fallback faces and in
# colour, in both caption modes.
for mode in --antialias --no-antialias; do
  memcheck render --style 22 --caption "Buy عربي now שלום नमस्ते 你好 🎉" --text-shadow $mode \
    -o "$work/shaped.png"
done
echo "valgrind-cli: shaped captions clean"
# A button's states at two scales: the files and the sprite share their
# compressed rows, so both writers and the reopened sprite go under memcheck.
memcheck render --style 30 --caption "States" --text-color auto --states --scales 1,2 --css "$work/states.css" \
  -o "$work/states.png"
memcheck render --style 30 --caption "Sprite" --text-color auto --states --sprite --scales 1,2 -o "$work/sprite.png"
memcheck inspect --json "$work/sprite-sprite@2x.png" >/dev/null
memcheck render --from "$work/states-hover@2x.png" -o "$work/hover.png"
echo "valgrind-cli: states and sprites clean"
echo "valgrind-cli: every format clean in $(($(date +%s) - start)) s"
