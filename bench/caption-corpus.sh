#!/usr/bin/env bash
# Proves that captions without complex script draw exactly as a reference
# build does: 2,000 captions (Latin, Greek, Cyrillic, digits, punctuation)
# over every installed family, plain and antialiased, regular, bold, italic
# and bold italic, rendered by both command lines and compared byte for byte.
#
#   bench/caption-corpus.sh REFERENCE-CLI [NEW-CLI]
#
# A file may differ only where its caption holds a character the family's
# face lacks (fontconfig's character set of the face it matches): such
# characters are now drawn from a fallback face instead of as boxes, and a
# colour face (which drew nothing before) draws its own glyphs in colour and
# the others from a fallback. Exit status 1 on any other difference.
set -euo pipefail

reference=${1:?usage: caption-corpus.sh REFERENCE-CLI [NEW-CLI]}
new=${2:-$(dirname "$0")/../build/cli/tabora-cli}
captions=${CORPUS_CAPTIONS:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$captions" > "$work/captions.json" <<'EOF'
import json, random, sys
rng = random.Random(14)
pools = [
    [chr(c) for c in range(0x21, 0x7F)],                               # ASCII
    [chr(c) for c in range(0xC0, 0x180) if c not in (0xD7, 0xF7)],     # Latin-1, Extended-A
    [chr(c) for c in range(0x391, 0x3AA) if c != 0x3A2] +
    [chr(c) for c in range(0x3B1, 0x3CA)],                             # Greek
    [chr(c) for c in range(0x410, 0x450)],                             # Cyrillic
    list("0123456789.,:;!?-+&@#%()'\"/€£"),
]
out = []
for i in range(int(sys.argv[1])):
    mix = rng.sample(range(len(pools)), rng.randint(1, 3))
    words = []
    for _ in range(rng.randint(1, 4)):
        pool = pools[rng.choice(mix)]
        words.append("".join(rng.choice(pool) for _ in range(rng.randint(1, 9))))
    out.append(" ".join(words))
json.dump(out, sys.stdout, ensure_ascii=False)
EOF

fc-list --format '%{family[0]}\n' | sort -u > "$work/families"
echo "$(wc -l < "$work/families") families, $captions captions, 8 variants each"

status=0
while IFS= read -r family; do
    for variant in 0 1 2 3; do
        bold=$((variant & 1)); italic=$((variant >> 1))
        pattern="$family:weight=$([ $bold = 1 ] && echo 200 || echo 80):slant=$([ $italic = 1 ] && echo 100 || echo 0)"
        fc-match -f '%{charset}' "$pattern" > "$work/charset.$variant"
        fc-match -f '%{color}' "$pattern" > "$work/color.$variant"
    done
    python3 - "$work" "$family" <<'EOF'
import json, os, sys
work, family = sys.argv[1], sys.argv[2]
captions = json.load(open(f"{work}/captions.json"))
# Batch files are read up to 2 MB: 4,000 buttons each.
for tool in ("ref", "new"):
    buttons = []
    for i, caption in enumerate(captions):
        for variant in range(8):
            buttons.append({
                "caption": caption, "bold": bool(variant & 1), "italic": bool(variant & 2),
                "antialias": bool(variant & 4), "fontSize": (8, 12, 18, 30)[i % 4],
                "output": f"{tool}/{i}-{variant}.png"})
    os.makedirs(f"{work}/{tool}", exist_ok=True)
    for n, start in enumerate(range(0, len(buttons), 4000)):
        json.dump({"defaults": {"styleNumber": 12, "fontName": family, "textShadow": True},
                   "buttons": buttons[start:start + 4000]},
                  open(f"{work}/{tool}-{n}.json", "w"), ensure_ascii=False)
EOF
    for batch in "$work"/ref-*.json; do "$reference" batch "$batch" -j 2 > /dev/null; done
    for batch in "$work"/new-*.json; do "$new" batch "$batch" -j 2 > /dev/null; done
    (cd "$work/ref" && sha256sum -- *.png | sort -k2) > "$work/ref.sums"
    (cd "$work/new" && sha256sum -- *.png | sort -k2) > "$work/new.sums"
    python3 - "$work" "$family" <<'EOF' || status=1
import json, sys
work, family = sys.argv[1], sys.argv[2]
captions = json.load(open(f"{work}/captions.json"))
def charset(variant):
    have = set()
    for part in open(f"{work}/charset.{variant}").read().split():
        lo, _, hi = part.partition("-")
        have.update(range(int(lo, 16), int(hi or lo, 16) + 1))
    return have
charsets = [charset(v) for v in range(4)]
colour = [open(f"{work}/color.{v}").read().strip() == "True" for v in range(4)]
ref = dict(line.split()[::-1] for line in open(f"{work}/ref.sums"))
new = dict(line.split()[::-1] for line in open(f"{work}/new.sums"))
same = explained = unexplained = 0
for name, digest in ref.items():
    if new.get(name) == digest:
        same += 1
        continue
    i, variant = map(int, name[:-4].split("-"))
    lacking = [c for c in captions[i] if ord(c) not in charsets[variant & 3]]
    if lacking or colour[variant & 3]:
        explained += 1
    else:
        unexplained += 1
        if unexplained <= 5:
            print(f"  UNEXPLAINED {family!r} {name}: {captions[i]!r}")
print(f"{family}: {same} identical, {explained} differ where the face lacks a character "
      f"or is a colour face, "
      f"{unexplained} other differences")
sys.exit(1 if unexplained or len(new) != len(ref) else 0)
EOF
    rm -rf "$work/ref" "$work/new" "$work"/ref-*.json "$work"/new-*.json
done < "$work/families"
exit $status
