#!/usr/bin/env bash
# Adds deb-src lines for the Debian archive this machine's apt already uses (scripts/debian-mirror.sh),
# so scripts/build-web.sh can fetch libxmp's source with `apt-get source`. build-web.sh calls it
# when apt knows no libxmp source; when it does, this says nothing.
set -euo pipefail

SOURCES_LIST=/etc/apt/sources.list.d/quoravint-deb-src.sources   # ours alone, so it can be checked for
ARCHIVE_KEYRING=/usr/share/keyrings/debian-archive-keyring.gpg
# The releases this project is built on, oldest first: an older one's source serves when the mirror
# lacks this release's (build-web.sh takes the newest it can fetch). Only source indexes are added:
# nothing installed changes.
SOURCE_FALLBACK_RELEASES=(bookworm trixie)

ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/lib.sh" install-web-deps

# Whether apt already knows a source package for libxmp.
has_sources() {
  apt-cache showsrc libxmp 2>/dev/null | grep -q '^Version:'
}

has_sources && exit 0   # nothing to do: say nothing, like install-deps.sh
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(bash "$ROOT/scripts/debian-mirror.sh")
suites="$codename $codename-updates"
for release in "${SOURCE_FALLBACK_RELEASES[@]}"; do
  [ "$release" != "$codename" ] || break   # only older releases: their libxmp builds with this Emscripten
  suites+=" $release"
done
say "adding the source archives for $suites from $mirror ($SOURCES_LIST)"
printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
  "$mirror" "$suites" "$ARCHIVE_KEYRING" | as_root tee "$SOURCES_LIST" >/dev/null
as_root apt-get update -q
