#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, when missing.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-webengine-dev libgl-dev
          fonts-liberation libx11-dev xvfb xauth xdotool x11-utils imagemagick python3 dbus-x11
          shared-mime-info desktop-file-utils xdg-utils dpkg-dev at-spi2-core
          lintian appstream fuse3 python3-fusepy libxcb1-dev dbus-bin
          libfontconfig-dev weston xwayland qt6-wayland)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
