#!/usr/bin/env bash
# Compares our smallest files with what the usual optimisers make of our
# default files, button by button, over buttons of many families:
#
#   bench/compare-smallest.sh [BUILD_DIR] [BUTTONS]
#
#   PNG   ours with --optimize    against  optipng -o2 on our default PNG
#   JPEG  ours with --optimize    against  jpegoptim (lossless) on our default JPEG
#   WebP  ours (lossless)         against  cwebp -lossless on our default PNG
#
# Each with the settings block inside: optipng keeps it; jpegoptim is told to
# keep it (--strip-none; by default it drops it); cwebp cannot carry it, so
# its picture is counted in our container (its image chunks in place of ours).
#
# Every file of ours must still open with its settings (inspect), and be no
# larger than the optimiser's; the script says which are and exits 1 if any
# is not. Half the buttons are transparent (--remove-background), so the
# alpha counts too. optipng, jpegoptim and the WebP tools are installed here
# (not by the project's setup) when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
buttons=${2:-24}
cli="$build/cli/tabora-cli"
[ -x "$cli" ] || { echo "compare: $cli is missing; build first" >&2; exit 1; }

need=()
command -v optipng >/dev/null 2>&1 || need+=(optipng)
command -v jpegoptim >/dev/null 2>&1 || need+=(jpegoptim)
command -v cwebp >/dev/null 2>&1 || need+=(webp)
if [ ${#need[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "compare: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq >/dev/null
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Styles spread over the whole catalogue, so nearly every one is of another
# family: every n-th style that has a body.
mapfile -t styles < <("$cli" styles --json | python3 -c '
import json, sys
styles = [s["number"] for s in json.load(sys.stdin) if s["hasStyle"]]
count = int(sys.argv[1])
step = max(1, len(styles) // count)
print("\n".join(str(n) for n in styles[::step][:count]))' "$buttons")

captions=(Home Products About Contact Download "Sign up" Search Blog News Help Shop Login)
size() { stat -c %s "$1"; }
# The size of our WebP file with the other file's image chunks in place of ours.
in_our_container() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
def image_bytes(path):
    data = open(path, "rb").read()
    at, total = 12, 0
    while at + 8 <= len(data):
        size = struct.unpack("<I", data[at + 4:at + 8])[0]
        if data[at:at + 4] in (b"VP8 ", b"VP8L", b"ALPH"):
            total += 8 + size + (size & 1)
        at += 8 + size + (size & 1)
    return len(data), total
ours, ours_image = image_bytes(sys.argv[1])
_, theirs_image = image_bytes(sys.argv[2])
print(ours - ours_image + theirs_image)
PY
}
opens() { "$cli" inspect "$1" >/dev/null 2>&1; }

printf '%-5s %-4s | %7s %7s %7s %4s | %7s %7s %7s %4s | %7s %7s %4s\n' \
  style bg png ours optipng ok jpeg ours jpegopt ok cwebp ours ok
failed=0
declare -A total=()
for i in "${!styles[@]}"; do
  n=${styles[$i]}
  caption=${captions[$((i % ${#captions[@]}))]}
  args=(--style "$n" --caption "$caption" --font "DejaVu Sans" --quality 85)
  bg=opaq
  if ((i % 2)); then args+=(--remove-background); bg=tran; fi
  d="$work/$n"
  mkdir -p "$d"
  "$cli" render "${args[@]}" -o "$d/plain.png"
  "$cli" render "${args[@]}" -o "$d/small.png" --optimize
  "$cli" render "${args[@]}" -o "$d/plain.jpg"
  "$cli" render "${args[@]}" -o "$d/small.jpg" --optimize
  "$cli" render "${args[@]}" -o "$d/ours.webp"
  cp "$d/plain.png" "$d/optipng.png"
  optipng -quiet -o2 "$d/optipng.png"
  cp "$d/plain.jpg" "$d/jpegoptim.jpg"
  jpegoptim -q --strip-none "$d/jpegoptim.jpg" >/dev/null
  cwebp -quiet -lossless "$d/plain.png" -o "$d/cwebp.webp"

  p=$(size "$d/plain.png"); ps=$(size "$d/small.png"); po=$(size "$d/optipng.png")
  j=$(size "$d/plain.jpg"); js=$(size "$d/small.jpg"); jo=$(size "$d/jpegoptim.jpg")
  wc=$(in_our_container "$d/ours.webp" "$d/cwebp.webp"); wo=$(size "$d/ours.webp")
  # Ours no larger than theirs, and still a button that opens.
  vp=yes; vj=yes; vw=yes
  { [ "$ps" -le "$po" ] && opens "$d/small.png"; } || { vp=NO; failed=1; }
  { [ "$js" -le "$jo" ] && opens "$d/small.jpg"; } || { vj=NO; failed=1; }
  { [ "$wo" -le "$wc" ] && opens "$d/ours.webp"; } || { vw=NO; failed=1; }
  printf '%-5s %-4s | %7d %7d %7d %4s | %7d %7d %7d %4s | %7d %7d %4s\n' "$n" "$bg" \
    "$p" "$ps" "$po" "$vp" "$j" "$js" "$jo" "$vj" "$wc" "$wo" "$vw"
  for k in p ps po j js jo wc wo; do total[$k]=$(( ${total[$k]:-0} + ${!k} )); done
done
printf '%-10s | %7d %7d %7d      | %7d %7d %7d      | %7d %7d\n' total \
  "${total[p]}" "${total[ps]}" "${total[po]}" "${total[j]}" "${total[js]}" "${total[jo]}" \
  "${total[wc]}" "${total[wo]}"
pct() { python3 -c "print(f'{100 * (1 - $1 / $2):.1f} %')"; }
echo "PNG:  ours $(pct "${total[ps]}" "${total[p]}") smaller than the default, optipng -o2 $(pct "${total[po]}" "${total[p]}")"
echo "JPEG: ours $(pct "${total[js]}" "${total[j]}") smaller than the default, jpegoptim $(pct "${total[jo]}" "${total[j]}")"
echo "WebP lossless: $(pct "${total[wo]}" "${total[p]}") smaller than the default PNG, cwebp -lossless $(pct "${total[wc]}" "${total[p]}")"
exit "$failed"
