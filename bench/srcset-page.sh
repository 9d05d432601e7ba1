#!/usr/bin/env bash
# A web page with buttons for high-density screens, as a real browser shows
# it: the same buttons once as 1x pictures alone and once with their 2x
# files in srcset, beside the page's own text and a CSS button, screenshot
# by headless Chromium at a device scale factor of 2.
#
#   bench/srcset-page.sh [TABORA_CLI] [OUT.png]
#
# Installs Debian's chromium when it is missing (the setup does not). The
# screenshot defaults to docs/srcset-at-2x.png; the page and the buttons are
# kept in a temporary folder whose name is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(realpath "${1:-build/cli/tabora-cli}")
out=$(realpath -m "${2:-docs/srcset-at-2x.png}")

if ! command -v chromium >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq chromium >/dev/null
fi

work=$(mktemp -d /tmp/tabora-srcset-XXXXXX)
cat > "$work/bar.json" <<'JSON'
{"defaults": {"styleNumber": 12, "antialias": true, "textShadow": true, "fontName": "DejaVu Sans",
              "fontSize": 12, "removeBackground": true, "scales": [1, 2]},
 "fitCaption": true, "sameSize": true, "html": "bar.html",
 "buttons": [{"caption": "Home", "output": "home.png"},
             {"caption": "Products", "output": "products.png", "hueShift": 1400},
             {"caption": "Contact", "output": "contact.png", "hueShift": 2700}]}
JSON
"$cli" batch "$work/bar.json"
# The same pictures without srcset: what a page shows with 1x files alone.
sed 's/ srcset="[^"]*"//' "$work/bar.html" > "$work/bar-1x.html"

{
  cat <<'HTML'
<!doctype html>
<html><head><meta charset="utf-8"><style>
body { font: 15px "DejaVu Sans", sans-serif; margin: 16px; background: #fff; color: #222; }
h2 { font-size: 15px; margin: 14px 0 6px; }
.row { display: flex; gap: 8px; align-items: center; }
.css { font: bold 12px "DejaVu Sans", sans-serif; color: #fff; background: #3a6ea5;
       border-radius: 12px; padding: 8px 16px; }
</style></head><body>
<h2>1x pictures only (blurry at a device scale of 2)</h2>
<div class="row">
HTML
  cat "$work/bar-1x.html"
  echo '<span class="css">CSS button</span></div>'
  echo '<h2>The same buttons with srcset="…@2x.png 2x" (sharp)</h2>'
  echo '<div class="row">'
  cat "$work/bar.html"
  echo '<span class="css">CSS button</span></div>'
  echo '</body></html>'
} > "$work/page.html"

# Chromium refuses to run as root without --no-sandbox.
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --force-device-scale-factor=2 \
  --window-size=560,175 --screenshot="$out" "file://$work/page.html" 2>/dev/null
echo "srcset-page: $out (page and buttons in $work)"
