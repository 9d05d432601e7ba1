#!/usr/bin/env bash
# Installs every Debian package the project needs, and only what is missing.
# Quiet when everything is there; works as root or through sudo.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  # Translations: lupdate and lrelease with their CMake support, and Qt's own
  # translations of its standard dialogs.
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libpng-dev zlib1g-dev libjpeg62-turbo-dev libgif-dev libwebp-dev
  libfreetype-dev libfontconfig-dev libharfbuzz-dev libfribidi-dev
  libharfbuzz-bin
  fonts-liberation fonts-dejavu-core
  # Captions in every script: CJK, Devanagari, Bengali, Thai and colour emoji
  # (Hebrew and Arabic come with DejaVu Sans).
  fonts-wqy-microhei fonts-lohit-deva fonts-lohit-beng-bengali fonts-tlwg-loma-otf
  fonts-noto-color-emoji
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  xvfb xauth
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq >/dev/null
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
