#!/usr/bin/env bash
# A bar of six buttons made by one batch (all five states, a sprite each at
# 1x and 2x, a style sheet, an HTML fragment of links) shown in a real
# browser, headless, and photographed as a visitor sees it: at rest, the
# first button under the mouse, the first button held down, and the second
# reached with Tab; once on an ordinary screen and once on a high-density one
# (two device pixels per CSS pixel, where image-set() picks the @2x sprites).
#
#   bench/browser-states.sh [BUILD_DIR] [OUT_DIR]
#
# The page and its pictures are made in a temporary folder; the screenshots
# go to OUT_DIR (default docs/), named browser-states-{normal,hover,active,
# focus}.png and browser-states-2x-{...}.png. Each run checks which sprites
# the browser fetched: the 1x ones alone at 1x, the @2x ones alone at 2x. Chromium is installed here (not by the project's setup) when
# missing; the browser is driven over its DevTools pipe by
# tools/browser/cdp_shots.py.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs}
cli="$PWD/$build/cli/tabora-cli"
chromium=$(command -v chromium || true)
if [ -z "$chromium" ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get install -y chromium >/dev/null
  chromium=$(command -v chromium)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/img"
cat > "$work/nav.json" <<'JSON'
{"html": "nav.html", "css": "nav.css", "fitCaption": true, "sameSize": true,
 "defaults": {"styleNumber": 20, "bold": true, "antialias": true, "states": true,
              "sprite": true, "removeBackground": true, "scales": [1, 2]},
 "buttons": [
  {"output": "img/home.png", "caption": "Home", "href": "#home"},
  {"output": "img/products.png", "caption": "Products", "href": "#products"},
  {"output": "img/services.png", "caption": "Services & Support", "href": "#services"},
  {"output": "img/news.png", "caption": "News", "href": "#news"},
  {"output": "img/about.png", "caption": "About us", "href": "#about",
   "states": {"hover": {"textColor": "#FFEE00"}, "focus": {"focusRing": "#FF8800"}}},
  {"output": "img/contact.png", "caption": "Contact", "href": "mailto:hello@example.com"}
 ]}
JSON
"$cli" batch "$work/nav.json"
{
  echo '<!doctype html><html><head><meta charset="utf-8"><link rel="stylesheet" href="nav.css">'
  echo '<style>body{margin:16px;background:#f4f4f0;font:14px sans-serif}nav{display:flex;flex-wrap:wrap;gap:4px;width:720px}</style>'
  echo '</head><body><nav>'
  cat "$work/nav.html"
  echo '</nav></body></html>'
} > "$work/page.html"
mkdir -p "$out"
python3 tools/browser/cdp_shots.py "$chromium" "$work/page.html" "$out/browser-states" 1 > "$work/fetched-1x"
python3 tools/browser/cdp_shots.py "$chromium" "$work/page.html" "$out/browser-states-2x" 2 > "$work/fetched-2x"
# The sprites each run fetched, one address a line.
for k in 1x 2x; do
  sprites=$(grep -c -- '-sprite' "$work/fetched-$k" || true)
  finer=$(grep -c -- '-sprite@2x\.png$' "$work/fetched-$k" || true)
  want=$([ "$k" = 2x ] && echo "$sprites" || echo 0)
  if [ "$sprites" -ne 6 ] || [ "$finer" -ne "$want" ]; then
    echo "browser-states: at $k the browser fetched:" >&2
    cat "$work/fetched-$k" >&2
    exit 1
  fi
  echo "at $k: 6 sprites fetched, $finer of them @2x"
done
ls -l "$out"/browser-states-*.png
