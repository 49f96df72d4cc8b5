#!/usr/bin/env bash
# Installs, through apt-get, every Debian package the show, its asset generator
# and its tests need. Only what is missing is installed, so running it again is cheap.
set -euo pipefail

PACKAGES=(
  # build
  cmake g++ make pkg-config
  # the show itself: classic SDL 1.2 with image and mixer, OpenGL from Mesa
  libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libgl1-mesa-dev libglu1-mesa-dev
  # the asset generator: Cairo for pictures, libvorbisenc for the effects
  libcairo2-dev libvorbis-dev libogg-dev libpng-dev
  # tests: GoogleTest, Google Benchmark, a headless X server, keys, screenshots, an XM reader
  libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick libxmp-dev
  # capture to video
  ffmpeg
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # the Debian package: its tools, its checker, the manual pages; a window manager and SDL 2
  # for the program tests on sdl12-compat
  dpkg-dev lintian go-md2man man-db openbox libsdl2-2.0-0
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
