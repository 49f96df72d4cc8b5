#!/usr/bin/env bash
# Installs, through apt-get, every Debian package the show, its asset generator
# and its tests need. One dpkg query finds what is missing; when nothing is, the script
# says nothing and ends at once, so every build script may call it.
set -euo pipefail

# Debian's source archive, from which the browser build takes libxmp.
bash "$(dirname "$0")/install-web-deps.sh"

PACKAGES=(
  # build
  cmake g++ make pkg-config
  # the show itself: classic SDL 1.2 with image and mixer, OpenGL from Mesa
  libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libgl1-mesa-dev libglu1-mesa-dev
  # the asset generator: Cairo for pictures, libvorbisenc for the effects
  libcairo2-dev libvorbis-dev libogg-dev libpng-dev
  # tests: GoogleTest, a headless X server, keys, screenshots, an XM reader
  libgtest-dev xvfb xauth xdotool x11-utils imagemagick libxmp-dev
  # capture to video
  ffmpeg
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # the Debian package: its tools, its checker, the manual pages; a window manager and SDL 2
  # for the program tests on sdl12-compat
  dpkg-dev lintian go-md2man man-db openbox libsdl2-2.0-0
  # the browser build and its checks: Emscripten, stb's image and Vorbis decoders, Chromium
  emscripten libstb-dev chromium
)

installed=" $(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${PACKAGES[@]}" 2>/dev/null |
                awk '$2 == "ii" { printf "%s ", $1 }')"
missing=()
for pkg in "${PACKAGES[@]}"; do
  [[ $installed == *" $pkg "* ]] || missing+=("$pkg")
done
command -v npm >/dev/null || missing+=(npm)   # the browser checks' driver comes from the npm registry
[ ${#missing[@]} -gt 0 ] || exit 0

echo "install-deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
