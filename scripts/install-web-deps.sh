#!/usr/bin/env bash
# Installs what the browser build and its tests need: Debian's Emscripten, Chromium and stb
# headers, dpkg-dev for `apt-get source`, npm when node came without it, and a deb-src line for
# Debian's archive so scripts/build-web.sh can fetch libxmp's source. When everything is there it
# says nothing and ends at once.
set -euo pipefail

PACKAGES=(emscripten chromium libstb-dev dpkg-dev)
SOURCES_LIST=/etc/apt/sources.list.d/quoravint-deb-src.sources   # ours alone, so it can be checked for
ARCHIVE_KEYRING=/usr/share/keyrings/debian-archive-keyring.gpg

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

missing=()
for pkg in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
command -v npm >/dev/null || missing+=(npm)

# Whether apt already knows a source package for libxmp.
has_sources() {
  apt-cache showsrc libxmp 2>/dev/null | grep -q '^Version:'
}

need_update=0
if ! has_sources; then
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "install-web-deps: adding Debian's source archive for $codename ($SOURCES_LIST)"
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: %s\n' \
    "$codename" "$codename" "$ARCHIVE_KEYRING" | $SUDO tee "$SOURCES_LIST" >/dev/null
  need_update=1
fi
[ ${#missing[@]} -eq 0 ] || need_update=1

[ "$need_update" -eq 1 ] || exit 0   # nothing to do: say nothing, like install-deps.sh
$SUDO apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-web-deps: installing ${missing[*]}"
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
