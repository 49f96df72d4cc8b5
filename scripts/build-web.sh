#!/usr/bin/env bash
# Builds the show for web browsers into a site folder: the page (web/page/), the two programs
# (quoravint.js/.wasm at 1024 x 768, quoravint-hd.js/.wasm at 1920 x 1080), the show's assets under
# assets/ and their list, assets.txt. Serve it with scripts/serve-web.sh.
#
#   scripts/build-web.sh [SITE]      SITE defaults to build-web/site
#
# Environment:
#   QUORAVINT_ASSETS     a folder of generated assets (a native build's run/) to take instead of
#                        building the asset generator here
#   QUORAVINT_ASSETGEN   the asset generator that lists the show's files, default the one beside
#                        QUORAVINT_ASSETS in its native build (../assetgen/assetgen)
#   QUORAVINT_WEB_BUILD  the build folder, default build-web/
#   QUORAVINT_WEB_CACHE  where the wasm build of libxmp is kept between builds and clones,
#                        default ~/.cache/quoravint-web (keyed by libxmp's and Emscripten's versions)
set -euo pipefail
shopt -s inherit_errexit   # a failure inside $( ... ) ends the script too, not only the substitution

ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=${QUORAVINT_WEB_BUILD:-$ROOT/build-web}
SITE=${1:-$WORK/site}
CACHE=${QUORAVINT_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quoravint-web}
JOBS=2                                    # the build machines are shared: two compile jobs at most
export NODE_PATH=/usr/share/nodejs        # Debian's emcc runs node, which must find Debian's JS modules

# Writes a progress line of this script to standard error.
say() {
  echo "build-web.sh: $*" >&2
}

# Ends the script with a message.
die() {
  say "$*"
  exit 1
}

# The version of Debian's libxmp source package that apt would fetch; empty when apt knows none.
libxmp_version() {
  { apt-cache showsrc libxmp 2>/dev/null || true; } | awk '/^Version:/ { print $2; exit }'
}

# Builds libxmp for wasm from Debian's source package into the folder $1 (include/, lib/).
build_libxmp() {
  local into=$1 version=$2 scratch
  scratch=$(mktemp -d)
  say "building libxmp $version for wasm (once; kept in $into)"
  (cd "$scratch" && apt-get source -q "libxmp=$version" >"$scratch/source.log" 2>&1) ||
    { cat "$scratch/source.log" >&2; die "apt-get source libxmp failed: run scripts/install-web-deps.sh (it adds Debian's deb-src line)"; }
  local source
  source=$(find "$scratch" -maxdepth 1 -type d -name 'libxmp-*' | head -n 1)
  # The XM player needs no depackers; they also carry a copy of stb_vorbis that would clash with ours.
  (cd "$source" &&
    emconfigure ./configure --host=wasm32-unknown-emscripten --disable-shared --enable-static \
      --disable-depackers --disable-prowizard CFLAGS=-O2 >"$scratch/configure.log" 2>&1 &&
    emmake make -j "$JOBS" >"$scratch/make.log" 2>&1) || die "building libxmp failed: see $scratch"
  libxmp_complete "$source" || die "building libxmp made no header or library: see $scratch"
  rm -rf "$into.partial"
  mkdir -p "$into.partial/include" "$into.partial/lib"
  cp "$source/include/xmp.h" "$into.partial/include/"
  cp "$source/lib/libxmp.a" "$into.partial/lib/"
  mv "$into.partial" "$into"
  rm -rf "$scratch"
}

# Whether the folder $1 holds a whole wasm libxmp: its header and a non-empty library.
libxmp_complete() {
  [ -s "$1/include/xmp.h" ] && [ -s "$1/lib/libxmp.a" ]
}

# The version of the Emscripten that builds the site.
emscripten_version() {
  local version
  version=$(emcc -dumpversion 2>/dev/null) || true
  [ -n "$version" ] || die "emcc -dumpversion gave no Emscripten version: reinstall it (apt-get install --reinstall emscripten)"
  echo "$version"
}

# The wasm libxmp of this Emscripten and Debian's current libxmp source, built when not in the cache.
wasm_libs() {
  local version emscripten into
  version=$(libxmp_version)
  if [ -z "$version" ]; then
    bash "$ROOT/scripts/install-web-deps.sh" >&2   # Debian's deb-src line, only when the source is needed
    version=$(libxmp_version)
  fi
  [ -n "$version" ] || die "no libxmp source package known to apt: run scripts/install-web-deps.sh"
  emscripten=$(emscripten_version)
  into="$CACHE/libxmp-$version-emscripten-$emscripten"
  if [ ! -e "$into" ]; then
    build_libxmp "$into" "$version"
  fi
  libxmp_complete "$into" || die "the cached wasm libxmp in $into is incomplete: delete it (rm -rf '$into') and build again"
  echo "$into"
}

# Sets ASSETS and ASSETGEN: the folder of generated assets and the generator that lists them,
# those given or a native build's of the asset generator.
find_assets() {
  if [ -n "${QUORAVINT_ASSETS:-}" ]; then
    ASSETS=$QUORAVINT_ASSETS
    ASSETGEN=${QUORAVINT_ASSETGEN:-$ASSETS/../assetgen/assetgen}
    return
  fi
  say "generating the assets with a native build in $WORK/native"
  cmake -S "$ROOT" -B "$WORK/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$WORK/native" -j "$JOBS" --target assets >/dev/null
  ASSETS=$WORK/native/run
  ASSETGEN=$WORK/native/assetgen/assetgen
}

# Copies the show's files (as assetgen --list names them) from ASSETS into the site's assets/ and
# lists them in assets.txt, each once, for the page to fetch.
package_assets() {
  [ -x "$ASSETGEN" ] || die "no asset generator at $ASSETGEN (set QUORAVINT_ASSETGEN)"
  "$ASSETGEN" --list | LC_ALL=C sort -u >"$SITE/assets.txt"
  rm -rf "$SITE/assets"
  mkdir -p "$SITE/assets"
  while read -r file; do
    [ -f "$ASSETS/$file" ] || die "the show's file $file is not in $ASSETS"
    mkdir -p "$SITE/assets/$(dirname "$file")"
    cp "$ASSETS/$file" "$SITE/assets/$file"
  done <"$SITE/assets.txt"
}

bash "$ROOT/scripts/install-deps.sh" web   # the native packages for the asset generator, and the web ones
command -v emcmake >/dev/null || die "Emscripten is missing: run scripts/install-deps.sh"
LIBS=$(wasm_libs)
find_assets

say "building the web programs in $WORK/wasm"
emcmake cmake -S "$ROOT" -B "$WORK/wasm" -DCMAKE_BUILD_TYPE=Release -DQUORAVINT_WEB_LIBS="$LIBS" >/dev/null
cmake --build "$WORK/wasm" -j "$JOBS"

mkdir -p "$SITE"
cp "$ROOT"/web/page/* "$SITE/"
cp "$WORK"/wasm/web/quoravint{,-hd}.{js,wasm} "$SITE/"
package_assets
say "site ready in $SITE ($(du -sh "$SITE" | cut -f1)); serve it with scripts/serve-web.sh"
