#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the game and running its data generators
# (tools/) need: only the missing ones, without recommended packages. Prints what it installs before installing.
# Runs as root, or as a user with sudo. tests/setup/check_install_list.py (a test) checks that this list names
# every package the build, the tests and the generators use, or one that pulls it in.
set -euo pipefail

# Build: compilers, CMake, Qt 6 Widgets and OpenGL, OpenGL/GLU, SDL2_mixer with FluidSynth and a General MIDI
# soundfont. Tests and benchmarks: GoogleTest/GMock, Google Benchmark, Xvfb and X11 tools, ImageMagick, Python;
# Openbox, a window manager to look at the windows under Xvfb.
# Generators: Pillow and the fonts the tile faces and icons are drawn with, fluidsynth to check the music,
# fontTools for the outlines of the scalable icon's glyphs.
# Install checks and the Debian package: desktop-file-utils, appstream, librsvg2-bin (draws the scalable icon),
# dpkg-dev and file (cpack's dpkg-shlibdeps).
# A fresh Debian root for scripts/fresh-debian-test.sh: debootstrap.
# Fuzz harnesses (scripts/fuzz-campaign.sh, run briefly by scripts/test.sh): clang and its libFuzzer and
# sanitizer runtimes.
packages=(
    build-essential cmake pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libglu1-mesa-dev
    libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev fluid-soundfont-gm
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick python3 openbox
    python3-pil fonts-dejavu-core fonts-noto-cjk fluidsynth python3-fonttools
    desktop-file-utils appstream librsvg2-bin dpkg-dev file
    debootstrap
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: these Debian packages are missing: ${missing[*]}" >&2
        echo "install-deps: run this script as root, or install sudo, to install them" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "install-deps: installing these Debian packages and what they depend on: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
