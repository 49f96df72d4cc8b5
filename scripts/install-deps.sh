#!/usr/bin/env bash
# Installs, through apt-get (and npm for the browser checks' driver), the Debian packages that a
# group of work needs. One dpkg query finds what is missing; when nothing is, the script says
# nothing and ends at once, so every build script may call it.
#
#   scripts/install-deps.sh [GROUP...]     GROUP: run (the default), package, web, test, fresh
#     run      what building and running the show needs: compiler, CMake, SDL 1.2 with image and
#              mixer, Mesa, Cairo and Vorbis for the asset generator, libmikmod for the capture's
#              sound                                                          (scripts/run.sh)
#     package  run, and what making the Debian package adds: dpkg-dev, go-md2man (the deb target)
#     web      run, and the browser build: Emscripten, stb, Chromium, npm    (scripts/build-web.sh)
#     test     all of the above, and everything the tests call, the browser engines among them
#              (scripts/test.sh)
#     fresh    what the clean room needs on this machine: mmdebstrap          (scripts/test.sh --fresh)
# The names are those Debian 12 and 13 share (unversioned where Debian has an unversioned name).
# A service a package brings (nginx) is neither started nor enabled: the tests start their own.
set -euo pipefail
source "$(dirname "$0")/lib.sh" install-deps

RUN_PACKAGES=(
  # build
  cmake g++ make pkg-config
  # the show itself: classic SDL 1.2 with image and mixer, OpenGL from Mesa (EGL for drawing
  # without an X server)
  libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libgl1-mesa-dev libglu1-mesa-dev libegl-dev
  # the asset generator: Cairo for pictures, libvorbisenc for the effects
  libcairo2-dev libvorbis-dev libogg-dev libpng-dev
  # the capture, which mixes the sound with SDL_mixer's own players: libmikmod for the song (and
  # libvorbisfile, above, for the effects)
  libmikmod-dev
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
  # apt-get source unpacks libxmp's source with dpkg-source
  dpkg-dev
)
TEST_PACKAGES=(
  # GoogleTest, a headless X server, keys, screenshots, an XM reader, an HTTP client, an XML checker,
  # pgrep to find a program's children
  libgtest-dev xvfb xauth xdotool imagemagick libxmp-dev curl libxml2-utils procps
  # capture to video
  ffmpeg
  # fuzzing and sanitizers
  clang libclang-rt-dev
  # the Debian package: its checker, the manual pages; a window manager and SDL 2 for the program
  # tests on sdl12-compat
  lintian man-db openbox libsdl2-2.0-0
  # the site served by a real web server, with its precompressed Brotli copies; a loopback of its own
  nginx-light libnginx-mod-http-brotli-static iproute2
  # the page's checks in the two other browser engines: Firefox ESR, and WebKitGTK (Safari's
  # engine) through its WebDriver, which brings the MiniBrowser
  firefox-esr webkit2gtk-driver
)
# Firefox plays Web Audio only to a sound server: its checks start a PulseAudio of their own. A
# desktop whose sound is PipeWire's keeps it (two servers would fight over the user's sound at the
# next login), and its Firefox checks say they were skipped for want of pulseaudio.
SOUND_SERVER_PACKAGE=pulseaudio
SOUND_SERVER_RIVAL=pipewire-pulse
FRESH_PACKAGES=(
  # a clean Debian root for the package's install test and scripts/test.sh --fresh
  mmdebstrap
)
POLICY_RC_D=${QUORAVINT_POLICY_RC_D:-/usr/sbin/policy-rc.d}   # Debian's maintainer scripts ask it before starting
                                                             # a service (another path only for the tests)
DENY_STARTS='#!/bin/sh
# Written by quoravint'"'"'s scripts/install-deps.sh while it installs: no service starts.
exit 101'                           # 101: "action forbidden", the answer that skips the start quietly

# Adds the packages of the named group (and of the groups it includes) to WANTED.
add_group() {
  case $1 in
    run) WANTED+=("${RUN_PACKAGES[@]}") ;;
    package) add_group run; WANTED+=("${PACKAGE_PACKAGES[@]}") ;;
    web) add_group run; WANTED+=("${WEB_PACKAGES[@]}"); WANTS_NPM=yes ;;
    test) add_group package; add_group web; add_group fresh; WANTED+=("${TEST_PACKAGES[@]}")
          is_installed "$SOUND_SERVER_RIVAL" || WANTED+=("$SOUND_SERVER_PACKAGE") ;;
    fresh) WANTED+=("${FRESH_PACKAGES[@]}") ;;
    *) say "unknown group '$1' (run, package, web, test or fresh)"; exit 2 ;;
  esac
}

# Succeeds when dpkg reports the package $1 as installed.
is_installed() {
  [ "$( (dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null || true) | cut -c1-2)" = ii ]
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

# Prints the installed packages, one a line.
installed_packages() {
  dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' | awk '$2 == "ii" { print $1 }' | sort
}

# Prints the services that the packages named on standard input bring: systemd's system units and
# init scripts as they are named, every user's units (a sound server's) prefixed with "user:".
services_of() {
  xargs -r dpkg-query -L 2>/dev/null |
    sed -n 's,^\(/usr\)\?/lib/systemd/system/\([^/]*\.\(service\|socket\|timer\)\)$,\2,p
            s,^\(/usr\)\?/lib/systemd/user/\([^/]*\.\(service\|socket\|timer\)\)$,user:\2,p
            s,^/etc/init\.d/\([^/]*\)$,\1,p' |
    sort -u
}

# Leaves the services of the packages just installed disabled: the start was refused, and a machine
# must not begin serving on port 80 at its next boot because the tests wanted nginx.
disable_services() {
  local service
  for service in "$@"; do
    if [[ $service == user:* ]]; then
      ! command -v systemctl >/dev/null || as_root systemctl --global disable --quiet "${service#user:}"
    elif [[ $service == *.* ]]; then
      ! command -v systemctl >/dev/null || as_root systemctl disable --quiet "$service"
    elif compgen -G "/etc/rc[2345].d/S??$service" >/dev/null; then
      as_root update-rc.d "$service" disable >/dev/null
    fi
  done
  local names=("${@#user:}")
  say "left disabled and not started: $(printf '%s\n' "${names[@]%.service}" | sort -u | xargs)" \
      "(the tests start their own; \`systemctl enable --now NAME\` starts one for good)"
}

# Takes the policy that refuses every service start away again, if this script put it there.
allow_starts() {
  [ -z "$DENIED_STARTS" ] || as_root rm -f "$POLICY_RC_D"
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
before=$(installed_packages)
DENIED_STARTS=""
trap allow_starts EXIT
if [ ! -e "$POLICY_RC_D" ]; then
  printf '%s\n' "$DENY_STARTS" | as_root tee "$POLICY_RC_D" >/dev/null
  DENIED_STARTS=yes
  as_root chmod 755 "$POLICY_RC_D"
fi
as_root apt-get update -q
as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
mapfile -t services < <(comm -13 <(echo "$before") <(installed_packages) | services_of)
[ ${#services[@]} -eq 0 ] || disable_services "${services[@]}"
