#!/usr/bin/env bash
# Builds the show for web browsers into a site folder: the page (web/page/), the two programs
# (quoravint.js/.wasm at 1024 x 768, quoravint-hd.js/.wasm at 1920 x 1080), the show's assets under
# assets/ and their list, assets.txt, the icons, and the build's list of its files
# (site-files.HASH.json: the stamped names for the page, every file for the service worker). Every
# file but the page, its manifest, icons and service worker gets its content's hash in its name
# (quoravint.0123456789abcdef.wasm, assets.0123456789abcdef/, the page's modules in js.HASH/), so a
# server can let browsers keep it for good; the page's references are the one source edited. Text
# files get gzip and Brotli copies beside them (.gz, .br) for a server to send as they are. Serve
# it with scripts/serve-web.sh, or with nginx (web/nginx/).
#
#   scripts/build-web.sh [SITE]      SITE defaults to build-web/site; a folder that is there already
#                                    must be empty or a site this script made (its .quoravint-site
#                                    lists the files it wrote) with nothing else put in it since
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
source "$ROOT/scripts/lib.sh" build-web.sh
WORK=${QUORAVINT_WEB_BUILD:-$ROOT/build-web}
SITE=${1:-$WORK/site}
CACHE=${QUORAVINT_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quoravint-web}
JOBS=2                                    # the build machines are shared: two compile jobs at most
HASH_LENGTH=16                            # hex digits of a file's hash in its name: 64 bits, no clash in practice
WEB_ICON_SIZES=(192 512)                  # the icons an installed web page needs: home screen, splash
MARKER=.quoravint-site                    # in every site this script makes: the files it made, all that a
                                          # later build may delete there
COMPRESSED='.*\.(html|js|json|css|wasm|txt|webmanifest|xm)$'   # files that shrink; PNG and Ogg are compressed already
PAGE_SCRIPTS=js                           # the page's modules (web/page/js/): one folder stamped as a whole,
                                          # so their imports of one another need no new names
SITE_LIST=site-files.json                 # the build's list of its files, for the page and the service worker
export NODE_PATH=/usr/share/nodejs        # Debian's emcc runs node, which must find Debian's JS modules

# The versions of Debian's libxmp source package that apt knows, newest first; none when it knows none.
libxmp_versions() {
  { apt-cache showsrc libxmp 2>/dev/null || true; } | awk '/^Version:/ { print $2 }' | sort -u -r -V
}

# Builds libxmp $2 for wasm from Debian's source package into the folder $1 (include/, lib/); false,
# with nothing built, when the archive does not give that version's source.
build_libxmp() {
  local into=$1 version=$2 scratch
  scratch=$(mktemp -d)
  if ! (cd "$scratch" && apt-get source -q "libxmp=$version" >"$scratch/source.log" 2>&1); then
    tail -n 3 "$scratch/source.log" >&2
    say "the archive did not give libxmp $version's source"
    rm -rf "$scratch"
    return 1
  fi
  say "building libxmp $version for wasm (once; kept in $into)"
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

# The wasm libxmp of this Emscripten and the newest libxmp source the archive gives, built when not
# in the cache. apt may know a release's source that its mirror does not hold (a local mirror or
# cache of some releases only): then an older release's source serves, as the song plays the same.
wasm_libs() {
  local versions version emscripten into
  mapfile -t versions < <(libxmp_versions)
  if [ ${#versions[@]} -eq 0 ]; then
    bash "$ROOT/scripts/install-web-deps.sh" >&2   # Debian's deb-src lines, only when the source is needed
    mapfile -t versions < <(libxmp_versions)
  fi
  [ ${#versions[@]} -gt 0 ] || die "no libxmp source package known to apt: run scripts/install-web-deps.sh"
  emscripten=$(emscripten_version)
  for version in "${versions[@]}"; do
    into="$CACHE/libxmp-$version-emscripten-$emscripten"
    if [ -e "$into" ] || build_libxmp "$into" "$version"; then
      libxmp_complete "$into" || die "the cached wasm libxmp in $into is incomplete: delete it (rm -rf '$into') and build again"
      echo "$into"
      return
    fi
  done
  die "apt-get source libxmp failed for every version apt knows (${versions[*]}): run scripts/install-web-deps.sh (it adds Debian's deb-src lines)"
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
  mkdir -p "$SITE/assets"
  while read -r file; do
    [ -f "$ASSETS/$file" ] || die "the show's file $file is not in $ASSETS"
    mkdir -p "$SITE/assets/$(dirname "$file")"
    cp "$ASSETS/$file" "$SITE/assets/$file"
  done <"$SITE/assets.txt"
}

# The first HASH_LENGTH hex digits of the SHA-256 of standard input.
content_hash() {
  sha256sum | cut -c "1-$HASH_LENGTH"
}

# Copies the asset generator's icons of WEB_ICON_SIZES into the site as icon-<size>.png.
web_icons() {
  local drawn
  drawn=$(mktemp -d)
  "$ASSETGEN" --icons "$drawn" >/dev/null || die "the asset generator could not draw the icons"
  for size in "${WEB_ICON_SIZES[@]}"; do
    cp "$drawn/${size}x$size/apps/quoravint.png" "$SITE/icon-$size.png"
  done
  rm -rf "$drawn"
}

# Renames the site's file $1 (a path under SITE) to carry its content's hash before its last
# dot, and prints the pair of names "PLAIN STAMPED".
stamp_file() {
  local name=$1 hash stamped
  hash=$(content_hash <"$SITE/$name")
  stamped="${name%.*}.$hash.${name##*.}"
  mv "$SITE/$name" "$SITE/$stamped"
  echo "$name $stamped"
}

# The hash of the names and contents of the files in the folder $1, a path under SITE.
folder_hash() {
  (cd "$SITE/$1" && find . -type f ! -name "$MARKER" -print0 | LC_ALL=C sort -z | xargs -0 sha256sum) | content_hash
}

# Renames the site's folder $1 to carry the hash of its files, and prints the pair "$1/ $1.HASH/".
stamp_folder() {
  local folder=$1 hash
  hash=$(folder_hash "$folder")
  mv "$SITE/$folder" "$SITE/$folder.$hash"
  echo "$folder/ $folder.$hash/"
}

# Writes the build's list of its files, SITE_LIST under the hash of every file of the site (so a
# new build, whatever it changed, has a new list, and its service worker a new cache), and prints
# its name. The list holds "names", every stamped name by its plain one (the pairs "PLAIN STAMPED"
# given), for the page; and "files", every file a visit may need but the page itself and the
# service worker, for the service worker to keep.
write_site_list() {
  local stamped files
  stamped="${SITE_LIST%.*}.$(folder_hash .).${SITE_LIST##*.}"
  files=$(cd "$SITE" && find . -type f ! -name sw.js ! -name index.html ! -name "$MARKER" -printf '%P\n' | LC_ALL=C sort)
  {
    printf '{"names":{%s},\n' "$(printf '%s\n' "$@" | awk '{ printf "%s\"%s\":\"%s\"", (NR > 1 ? "," : ""), $1, $2 }')"
    printf ' "files":[%s]}\n' "$(echo "$files" | awk '{ printf "%s\"%s\"", (NR > 1 ? "," : ""), $0 }')"
  } >"$SITE/$stamped"
  echo "$stamped"
}

# Points the page's references at the stamped names: each pair "PLAIN STAMPED" after the page $1
# turns its attribute values that begin "PLAIN into "STAMPED; then every file it refers to must be
# in the site.
write_references() {
  local page=$1 pair plain edits=() ref missing=()
  shift
  for pair in "$@"; do
    plain=${pair%% *}
    edits+=(-e "s|\"${plain//./\\.}|\"${pair#* }|g")
  done
  sed -i "${edits[@]}" "$page"
  while read -r ref; do
    [ -e "$SITE/$ref" ] || missing+=("$ref")
  done < <(grep -o '\(href\|src\|data-site-files\)="[^"?#:]\+"' "$page" | cut -d '"' -f 2)
  [ ${#missing[@]} -eq 0 ] || die "$(basename "$page") refers to files the site lacks: ${missing[*]}"
}

# Gives every file that changes with the show or the page its content's hash in its name, writes
# the build's list of files for the page and the service worker, and points index.html at the new
# names: the one file whose source is edited.
stamp_site() {
  local names=() name
  names+=("$(stamp_folder assets)" "$(stamp_folder "$PAGE_SCRIPTS")")
  for name in assets.txt quoravint.js quoravint.wasm quoravint-hd.js quoravint-hd.wasm page.css; do
    names+=("$(stamp_file "$name")")
  done
  names+=("$SITE_LIST $(write_site_list "${names[@]}")")
  write_references "$SITE/index.html" "${names[@]}"
}

# Writes gzip and Brotli copies of the site's text and program files beside them, at the
# strongest levels: made once here, sent by the server as they are.
compress_site() {
  find "$SITE" -type f -regextype posix-extended -regex "$COMPRESSED" -print0 |
    while IFS= read -r -d '' file; do
      gzip -9 -n -k -f "$file"
      brotli -q 11 -f -k "$file"
    done
}

# The files and folders in the folder SITE, one a line, sorted.
site_files() {
  (cd "$SITE" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)
}

# The files and folders in the folder SITE that its marker does not list, one a line (none when it
# lists none: a build that did not finish).
unlisted_files() {
  [ -s "$SITE/$MARKER" ] || return 0
  site_files | LC_ALL=C comm -23 - <(LC_ALL=C sort "$SITE/$MARKER")
}

# Stops the script, with the folder SITE untouched, unless SITE is new, empty, or a site this script
# made that nobody put anything else in since: only then may the build empty it.
check_site() {
  [ -e "$SITE" ] || return 0
  [ -d "$SITE" ] || die "$SITE is not a folder: name a new or empty folder for the site"
  [ -n "$(ls -A "$SITE")" ] || return 0
  [ -f "$SITE/$MARKER" ] ||
    die "$SITE is not a site this script made (it has no $MARKER): name a new or empty folder; nothing was deleted"
  local others
  others=$(unlisted_files)
  [ -z "$others" ] ||
    die "$SITE holds files this script did not make ($(echo "$others" | head -n 3 | paste -sd ' ' -)): move them away or name another folder; nothing was deleted"
}

check_site   # before minutes of building, and again before emptying it
bash "$ROOT/scripts/install-deps.sh" web   # the native packages for the asset generator, and the web ones
command -v emcmake >/dev/null || die "Emscripten is missing: run scripts/install-deps.sh"
LIBS=$(wasm_libs)
find_assets

say "building the web programs in $WORK/wasm"
emcmake cmake -S "$ROOT" -B "$WORK/wasm" -DCMAKE_BUILD_TYPE=Release -DQUORAVINT_WEB_LIBS="$LIBS" >/dev/null
cmake --build "$WORK/wasm" -j "$JOBS"

# A fresh folder: the names of the last build's files are not this one's.
check_site
rm -rf "$SITE"
mkdir -p "$SITE"
: >"$SITE/$MARKER"   # an empty list: a build under way, whose folder the next build may empty
cp -r "$ROOT"/web/page/* "$SITE/"
cp "$WORK"/wasm/web/quoravint{,-hd}.{js,wasm} "$SITE/"
package_assets
web_icons
stamp_site
compress_site
MADE=$(site_files)
echo "$MADE" >"$SITE/$MARKER"
say "site ready in $SITE ($(du -sh "$SITE" | cut -f1)); serve it with scripts/serve-web.sh"
