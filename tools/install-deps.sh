#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Korvel 3D need.
# Only missing packages are installed; nothing happens when all are present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgl-dev libegl-dev libglu1-mesa-dev libegl-mesa0 libgl1-mesa-dri
  libx11-dev libxrandr-dev libglib2.0-dev libgtk-3-dev
  libpng-dev libfreetype-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-xserver-utils x11-utils xdotool groff-base
  fonts-vlgothic fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "korvel3d: installing ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1; then
  run=(sudo)
else
  echo "korvel3d: these Debian packages are missing: ${missing[*]}" >&2
  echo "korvel3d: run 'make' as root, or install them with: apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
