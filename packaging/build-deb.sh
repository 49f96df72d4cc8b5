#!/usr/bin/env bash
# Makes the Debian package of an installed show: installs the build into a staging folder under
# /usr, compresses the manual pages and documents, works out the shared libraries it needs and
# writes quoravint_<version>_<architecture>.deb into the build folder.
# Usage: build-deb.sh <build folder> <version>
set -euo pipefail

BUILD=$(cd "${1:?usage: build-deb.sh <build folder> <version>}" && pwd)
VERSION=${2:?usage: build-deb.sh <build folder> <version>}
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../scripts/lib.sh" build-deb
PACKAGE=quoravint
MAINTAINER="Quoravint developers <developers@quoravint.org>"
ARCH=$(dpkg --print-architecture)
STAGE=$BUILD/packaging/stage
DEB=$BUILD/${PACKAGE}_${VERSION}_${ARCH}.deb
DOC=$STAGE/usr/share/doc/$PACKAGE
# SDL 1.2 as classic SDL or as sdl12-compat: Debian 13 ships sdl12-compat under the name
# libsdl1.2debian (1.2.68), and Debian 12's libsdl1.2-compat-shim provides libsdl1.2debian
# (= 1.2.15-1). Both satisfy 1.2.15, the last SDL 1.2 release, whose interface the show uses.
SDL_DEPENDENCY="libsdl1.2debian (>= 1.2.15) | libsdl1.2-compat-shim"

# Checks that the changelog's latest entry is this version, as Debian's tools expect.
check_changelog() {
  local logged
  logged=$(sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' "$HERE/changelog")
  [ "$logged" = "$VERSION" ] || die "packaging/changelog's latest entry is $logged, the project's version $VERSION"
}

# Installs the build under /usr in the staging folder, programs stripped.
stage_files() {
  rm -rf "$STAGE"
  DESTDIR=$STAGE cmake --install "$BUILD" --prefix /usr --strip >/dev/null
}

# Compresses the manual pages and documents as Debian's policy asks, drops the compiler's notes
# from the programs, as Debian's own packages do, and fixes the permissions.
tidy_files() {
  strip --remove-section=.comment --remove-section=.note "$STAGE"/usr/lib/games/$PACKAGE/*
  gzip -9n "$STAGE"/usr/share/man/man6/*.6 "$DOC/changelog" "$DOC/README.md"
  find "$STAGE" -type d -exec chmod 0755 {} +
  find "$STAGE" -type f -exec chmod 0644 {} +
  chmod 0755 "$STAGE"/usr/games/* "$STAGE"/usr/lib/games/$PACKAGE/*
  find "$STAGE"/usr -path '*/libexec/*' -type f -exec chmod 0755 {} +   # the screensaver hack
}

# The shared-library dependencies of the programs, with SDL open to both SDL 1.2 libraries.
library_dependencies() {
  local scratch depends
  scratch=$(mktemp -d)
  mkdir "$scratch/debian"
  printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$PACKAGE" "$PACKAGE" >"$scratch/debian/control"
  depends=$(cd "$scratch" && dpkg-shlibdeps -O "$STAGE"/usr/lib/games/$PACKAGE/*) || { rm -rf "$scratch"; die "dpkg-shlibdeps failed"; }
  rm -rf "$scratch"
  depends=${depends#shlibs:Depends=}
  [[ $depends == *"libsdl1.2debian ("* ]] || die "the programs do not link SDL 1.2 as expected: $depends"
  echo "$depends" | sed -E "s/libsdl1\.2debian \([^)]*\)/$SDL_DEPENDENCY/"
}

# Writes DEBIAN/control and DEBIAN/md5sums.
write_control() {
  local depends
  depends=$(library_dependencies)   # here, not in the here-document, so that its failure ends the script
  mkdir -p "$STAGE/DEBIAN"
  (cd "$STAGE" && find usr -type f -printf '%P\0' | sort -z | sed -z 's|^|usr/|' | xargs -0 md5sum) >"$STAGE/DEBIAN/md5sums"
  cat >"$STAGE/DEBIAN/control" <<CONTROL
Package: $PACKAGE
Version: $VERSION
Architecture: $ARCH
Maintainer: $MAINTAINER
Installed-Size: $(du -sk --exclude=DEBIAN "$STAGE" | cut -f1)
Depends: $depends
Recommends: ffmpeg, x11-utils
Suggests: xvfb
Enhances: xscreensaver
Section: games
Priority: optional
Description: $(cat "$HERE/description.txt")
CONTROL
  chmod 0644 "$STAGE/DEBIAN/control" "$STAGE/DEBIAN/md5sums"
}

check_changelog
say "staging the installed files in $STAGE"
stage_files
tidy_files
write_control
dpkg-deb --root-owner-group -Zxz --build "$STAGE" "$DEB" >/dev/null
say "wrote $DEB"
