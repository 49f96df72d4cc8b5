#!/usr/bin/env bash
# Installs, through apt-get (and npm for the browser checks' driver), the Debian packages that a
# group of work needs. One dpkg query finds what is missing; when nothing is, the script says
# nothing and ends at once, so every build script may call it.
#
#   scripts/install-deps.sh [GROUP...]     GROUP: run (the default), package, web, test
#     run      what building and running the show needs: compiler, CMake, SDL 1.2 with image and
#              mixer, Mesa, Cairo and Vorbis for the asset generator         (scripts/run.sh)
#     package  run, and what making the Debian package adds: dpkg-dev, go-md2man (the deb target)
#     web      run, and the browser build: Emscripten, stb, Chromium, npm    (scripts/build-web.sh)
#     test     all of the above, and everything the tests call               (scripts/test.sh)
set -euo pipefail

RUN_PACKAGES=(
  # build
  cmake g++ make pkg-config
  # the show itself: classic SDL 1.2 with image and mixer, OpenGL from Mesa (EGL for drawing
  # without an X server)
  libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libgl1-mesa-dev libglu1-mesa-dev libegl-dev
  # the asset generator: Cairo for pictures, libvorbisenc for the effects
  libcairo2-dev libvorbis-dev libogg-dev libpng-dev
  # run.sh asks the X server whether it answers
  x11-utils
)
PACKAGE_PACKAGES=(
  # the Debian package: its tools and the manual pages' converter
  dpkg-dev go-md2man
)
WEB_PACKAGES=(
  # the browser build: Emscripten, stb's image and Vorbis decoders, Brotli for the site's
  # precompressed copies; its checks: Chromium; serve-web.sh's web server
  emscripten libstb-dev brotli chromium python3
)
TEST_PACKAGES=(
  # GoogleTest, a headless X server, keys, screenshots, an XM reader, an HTTP client, an XML checker,
  # pgrep to find a program's children
  libgtest-dev xvfb xauth xdotool imagemagick libxmp-dev curl libxml2-utils procps
  # capture to video
  ffmpeg
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # the Debian package: its checker, the manual pages; a window manager and SDL 2 for the program
  # tests on sdl12-compat; a clean Debian root for the install test and scripts/test.sh --fresh
  lintian man-db openbox libsdl2-2.0-0 mmdebstrap
  # the site served by a real web server, with its precompressed Brotli copies; a loopback of its own
  nginx-light libnginx-mod-http-brotli-static iproute2
)

# Prints a message of this script on standard error.
say() {
  echo "install-deps: $*" >&2
}

# Adds the packages of the named group (and of the groups it includes) to WANTED.
add_group() {
  case $1 in
    run) WANTED+=("${RUN_PACKAGES[@]}") ;;
    package) add_group run; WANTED+=("${PACKAGE_PACKAGES[@]}") ;;
    web) add_group run; WANTED+=("${WEB_PACKAGES[@]}"); WANTS_NPM=yes ;;
    test) add_group package; add_group web; WANTED+=("${TEST_PACKAGES[@]}") ;;
    *) say "unknown group '$1' (run, package, web or test)"; exit 2 ;;
  esac
}

# Prints the wanted packages that dpkg does not report as installed, one a line.
# dpkg-query exits 1 when any package it is asked about is unknown: that is the answer we want,
# not a failure, so its status is ignored and only its output is read.
missing_packages() {
  local installed
  installed=" $( (dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${WANTED[@]}" 2>/dev/null || true) |
                 awk '$2 == "ii" { printf "%s ", $1 }')"
  local pkg
  for pkg in "${WANTED[@]}"; do
    [[ $installed == *" $pkg "* ]] || echo "$pkg"
  done
}

WANTED=()
WANTS_NPM=""
[ $# -gt 0 ] || set -- run
for group in "$@"; do
  add_group "$group"
done

mapfile -t missing < <(missing_packages | awk '!seen[$0]++')
# The browser checks' driver comes from the npm registry. npm is a command, not always a Debian
# package (Node.js from elsewhere brings its own), so only its absence asks for Debian's.
[ -z "$WANTS_NPM" ] || command -v npm >/dev/null || missing+=(npm)
[ ${#missing[@]} -gt 0 ] || exit 0

say "installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
