#!/usr/bin/env bash
# Installs the Debian packages Velkor needs when any of them is missing.
# This is the only place the package list lives.
set -eu
packages=(
  g++ cmake make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0
  xvfb xauth xdotool x11-apps imagemagick
  clang libclang-rt-14-dev
  libopenal-dev libopenal1 libvorbis-dev libogg-dev
  liblua5.1-0-dev libstb-dev
  libcairo2-dev libfreetype-dev fonts-dejavu-core zlib1g-dev
  libbox2d-dev vorbis-tools
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q >/dev/null || true
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
