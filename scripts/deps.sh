#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang-14 libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-webengine-dev libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core openbox
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
