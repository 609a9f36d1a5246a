#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the game need.
# Only missing packages are installed; needs root (or sudo) on Debian 12.
set -euo pipefail

packages=(
    build-essential cmake pkg-config ccache
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libglu1-mesa-dev
    libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev fluid-soundfont-gm
    xvfb xauth xdotool x11-utils imagemagick python3
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
