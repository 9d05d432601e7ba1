#!/usr/bin/env bash
# Renders sample buttons headlessly with the command line tool:
#   samples.sh BUILD_DIR OUT_DIR
# A few single buttons in several styles and all four formats, then a whole
# navigation bar in one batch run with an HTML fragment to show it.
set -euo pipefail
build=${1:-build}
out=${2:-out}
cli="$build/cli/tabora-cli"
if [ ! -x "$cli" ]; then
  echo "samples: $cli is missing; build first (scripts/build.sh)" >&2
  exit 1
fi
mkdir -p "$out"

# Style 64 is today's flat pill, 40 pixels tall, in sky; 258 a two-hue
# gradient, 413 a glowing outline for dark pages, 902 a round icon.
"$cli" render -o "$out/home.png" --style 64 --caption "Home" --font-size 12 --bold \
  --text-color "#1F2328"
"$cli" render -o "$out/contact.gif" --style 64 --caption "Contact us" --hue 2048 \
  --text-color "#1F2328" --remove-background --background "#F0F0F0"
"$cli" render -o "$out/download.jpg" --style 258 --caption "Download" --brightness 40 \
  --text-color "#FFFFE0" --antialias --quality 90
"$cli" render -o "$out/news.bmp" --style 413 --caption "News" --italic --no-shadow \
  --text-color "#3993E5" --background "#203040"
"$cli" render -o "$out/plain.png" --style 902 --remove-background --include-shadow-area
"$cli" render -o "$out/again.png" --from "$out/contact.gif" --caption "From GIF"

cat > "$out/navbar.json" <<'JSON'
{
  "defaults": {"styleNumber": 64, "fontSize": 11, "bold": true, "removeBackground": true,
               "textColor": "#1F2328"},
  "fitCaption": true,
  "sameSize": true,
  "html": "navbar.html",
  "buttons": [
    {"caption": "Home", "output": "navbar/home.png"},
    {"caption": "Products", "output": "navbar/products.png"},
    {"caption": "Support", "output": "navbar/support.png"},
    {"caption": "About us", "output": "navbar/about.png"}
  ]
}
JSON
mkdir -p "$out/navbar"
"$cli" batch "$out/navbar.json"
"$cli" inspect "$out/home.png" > "$out/home-settings.txt"
echo "Sample buttons written to $out/"
