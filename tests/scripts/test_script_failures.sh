#!/usr/bin/env bash
# The set-up scripts fail loudly, each run on a copy of the tree with stand-ins for the tools it
# calls (a PATH of small scripts that record their arguments):
#   - install-deps.sh installs the missing packages, named once, with one apt-get, and says
#     nothing when none is missing
#   - build-deb.sh stops with its reason when the libraries cannot be worked out, and makes no package
#   - build-web.sh publishes no half-built libxmp, names the fix for a bad cache, stops on an
#     empty Emscripten version, and empties no folder but a site of its own with nothing else in it
#   - test.sh runs the sanitizer script even when it is not executable, and fails, saying why,
#     when it is missing or when the tests were left out of the build
#   - prepare_checks.sh installs the browser checks when npm refuses a lock file a moved tag
#     outdated, fails when nothing installs, and calls npm once per lock file
# Usage: test_script_failures.sh <source folder>
set -u

SOURCE=$(cd "${1:?usage: $0 <source folder>}" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quoravint-scripts.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "$0")/stand_ins.sh"

# --- install-deps.sh ----------------------------------------------------------------------------
# dpkg-query reports the packages of $1 (a space-separated list) installed and exits 1, as the real
# one does, when any package asked about is not.
fake_dpkg_query() {
  fake dpkg-query "status=0
for pkg in \"\${@:3}\"; do
  case \" $1 \" in *\" \$pkg \"*) echo \"\$pkg ii \" ;; *) status=1 ;; esac
done
exit \$status"
}

RUN_GROUP=$(bash -c 'source <(sed -n "/^RUN_PACKAGES=(/,/^)/p" "$1"); echo "${RUN_PACKAGES[@]}"' _ "$SOURCE/scripts/install-deps.sh" |
            tr -s ' ')
while IFS='|' read -r CASE installed expected_install; do
  new_tree scripts packaging
  fake_dpkg_query "$installed"
  fake apt-get
  fake sudo 'exec env "$@"'   # sudo takes NAME=VALUE before the command, as env does
  run env QUORAVINT_POLICY_RC_D="$TREE/policy-rc.d" bash "$TREE/scripts/install-deps.sh" run
  if [ -z "$expected_install" ]; then
    expect 0 ""
    ! grep -q "^apt-get" "$CALLS" || fail "apt-get was called: $(cat "$CALLS")"
  else
    expect 0 "installing $expected_install"
    [ "$(grep "^apt-get" "$CALLS")" = "apt-get update -q
apt-get install -y -q --no-install-recommends $expected_install" ] || fail "apt-get calls: $(grep "^apt-get" "$CALLS")"
  fi
done <<CASES
install-deps: nothing missing|$RUN_GROUP|
install-deps: one missing|${RUN_GROUP/cmake /}|cmake
install-deps: none installed||$RUN_GROUP
CASES

# --- build-deb.sh -------------------------------------------------------------------------------
# cmake --install stages the files a build installs; strip and dpkg-deb stand in for the real ones.
STAGE_FILES='stage=$DESTDIR/usr
mkdir -p "$stage/lib/games/quoravint" "$stage/games" "$stage/share/man/man6" "$stage/share/doc/quoravint"
touch "$stage/lib/games/quoravint/demo" "$stage/games/quoravint" "$stage/share/man/man6/quoravint.6" \
      "$stage/share/doc/quoravint/changelog" "$stage/share/doc/quoravint/README.md"'
while IFS='|' read -r CASE shlibdeps message; do
  new_tree scripts packaging
  fake cmake "$STAGE_FILES"
  fake strip
  fake dpkg-deb
  fake dpkg-shlibdeps "$shlibdeps"
  version=$(sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' "$TREE/packaging/changelog")
  mkdir -p "$TREE/build"
  run bash "$TREE/packaging/build-deb.sh" "$TREE/build" "$version"
  expect fail "$message"
  ! grep -q "^dpkg-deb" "$CALLS" || fail "a package was made: $(grep -h "^Depends" "$TREE"/build/packaging/stage/DEBIAN/control)"
done <<'CASES'
build-deb: dpkg-shlibdeps fails|exit 2|dpkg-shlibdeps failed
build-deb: no SDL 1.2 among the libraries|echo "shlibs:Depends=libc6 (>= 2.34)"|the programs do not link SDL 1.2
CASES

# --- build-web.sh -------------------------------------------------------------------------------
# apt-cache knows libxmp's source or not (then fails, as the real one does); apt-get source unpacks
# a libxmp whose build makes no library; emcc says its version.
while IFS='|' read -r CASE sources emscripten cached message; do
  new_tree scripts packaging
  printf '#!/bin/sh\nexit 0\n' | tee "$TREE/scripts/install-deps.sh" >"$TREE/scripts/install-web-deps.sh"
  fake apt-cache "[ $sources = known ] || exit 100; echo 'Version: 4.5.0-1'"
  fake apt-get 'mkdir -p libxmp-4.5.0/include && touch libxmp-4.5.0/include/xmp.h'
  fake emconfigure
  fake emmake
  fake emcmake
  fake emcc "echo $emscripten"
  cache=$TREE/cache
  [ -z "$cached" ] || mkdir -p "$cache/libxmp-4.5.0-1-emscripten-$emscripten/include"
  run env QUORAVINT_WEB_CACHE="$cache" QUORAVINT_WEB_BUILD="$TREE/web" bash "$TREE/scripts/build-web.sh"
  expect fail "$message"
  [ -n "$cached" ] || [ -z "$(ls -A "$cache" 2>/dev/null)" ] || fail "published into the cache: $(ls "$cache")"
  ! grep -q "^emcmake" "$CALLS" || fail "went on to build the programs"
done <<'CASES'
build-web: libxmp built without its library|known|3.1.6||building libxmp made no header or library
build-web: a half-built libxmp in the cache|known|3.1.6|yes|delete it (rm -rf
build-web: no Emscripten version|known||yes|gave no Emscripten version
build-web: no libxmp source known to apt|none|3.1.6||no libxmp source package known to apt
CASES

# --- build-web.sh: a mirror without the newest libxmp source ------------------------------------
# apt knows two versions of libxmp's source; the mirror gives the older or none (a local mirror of
# some releases only): the build takes the newest it can fetch, or names every version it tried.
while IFS='|' read -r CASE fetchable message; do
  new_tree scripts packaging
  printf '#!/bin/sh\nexit 0\n' | tee "$TREE/scripts/install-deps.sh" >"$TREE/scripts/install-web-deps.sh"
  fake apt-cache "printf 'Version: 4.5.0-2\n\nVersion: 4.6.2-2\n'"
  fake apt-get "case \$* in *$fetchable*) mkdir -p libxmp-4.5.0/include libxmp-4.5.0/lib &&
    echo header >libxmp-4.5.0/include/xmp.h && echo lib >libxmp-4.5.0/lib/libxmp.a ;; *) echo 'E: 404  Not Found'; exit 100 ;; esac"
  fake emconfigure
  fake emmake
  fake emcmake
  fake emcc "echo 3.1.6"
  cache=$TREE/cache
  run env QUORAVINT_WEB_CACHE="$cache" QUORAVINT_WEB_BUILD="$TREE/web" bash "$TREE/scripts/build-web.sh"
  grep -qF -- "$message" "$OUT" || fail "did not say \"$message\": $(tail -n 5 "$OUT")"
  grep -q "^apt-get source -q libxmp=4.6.2-2$" "$CALLS" || fail "the newest source was not tried first"
  if [ "$fetchable" = 4.5.0-2 ]; then
    [ -s "$cache/libxmp-4.5.0-2-emscripten-3.1.6/lib/libxmp.a" ] || fail "the older source was not built: $(ls "$cache" 2>/dev/null)"
  else
    expect fail "$message"
  fi
done <<'CASES'
build-web: the newest libxmp source missing, an older one serves|4.5.0-2|the archive did not give libxmp 4.6.2-2's source
build-web: no libxmp source the mirror gives|none|failed for every version apt knows (4.6.2-2 4.5.0-2)
CASES

# --- build-web.sh: the site folder ---------------------------------------------------------------
# The whole script with stand-ins for Emscripten, a cached libxmp and a small asset generator: a
# folder the script did not make, or one it made that now holds the user's files, is refused and left
# as it was; its own site is rebuilt, with the last build's files gone.

# A build tree whose stand-ins let build-web.sh run to the end in a few seconds; its site is $SITE.
new_web_tree() {
  new_tree scripts packaging
  mkdir -p "$TREE/web"
  cp -r "$SOURCE/web/page" "$TREE/web/"
  printf '#!/bin/sh\nexit 0\n' | tee "$TREE/scripts/install-deps.sh" >"$TREE/scripts/install-web-deps.sh"
  fake apt-cache "echo 'Version: 4.5.0-1'"
  fake emcc "echo 3.1.6"
  fake emcmake
  fake cmake
  fake assetgen 'case $1 in
  --list) printf "song.xm\nfont/names.txt\n" ;;
  --icons) for size in 192 512; do mkdir -p "$2/${size}x$size/apps"; echo "icon $size" >"$2/${size}x$size/apps/quoravint.png"; done ;;
esac'
  local libxmp=$TREE/cache/libxmp-4.5.0-1-emscripten-3.1.6
  mkdir -p "$libxmp/include" "$libxmp/lib" "$TREE/assets/font" "$TREE/web-build/wasm/web"
  echo "header" >"$libxmp/include/xmp.h"
  echo "library" >"$libxmp/lib/libxmp.a"
  echo "song" >"$TREE/assets/song.xm"
  echo "names" >"$TREE/assets/font/names.txt"
  set_programs 1
  SITE=$TREE/site
}

# Writes the stand-in web programs of build number $1 (each build's files get other names).
set_programs() {
  local name
  for name in quoravint{,-hd}.{js,wasm}; do
    echo "$name of build $1" >"$TREE/web-build/wasm/web/$name"
  done
}

# Runs build-web.sh into $SITE.
build_site() {
  run env QUORAVINT_WEB_CACHE="$TREE/cache" QUORAVINT_WEB_BUILD="$TREE/web-build" QUORAVINT_ASSETS="$TREE/assets" \
      QUORAVINT_ASSETGEN="$FAKES/assetgen" bash "$TREE/scripts/build-web.sh" "$SITE"
}

# Every file under $1 with its checksum, or the checksum of $1 when it is a file.
fingerprint() {
  if [ -d "$1" ]; then (cd "$1" && find . -exec stat -c '%n %a' {} + -type f -exec sha256sum {} + | LC_ALL=C sort); else sha256sum <"$1"; fi
}

while IFS='|' read -r CASE before expected_status message; do
  new_web_tree
  case $before in
    none) ;;
    empty) mkdir "$SITE" ;;
    file) echo "the user's" >"$SITE" ;;
    web-root) mkdir "$SITE" && echo "<p>the user's page</p>" >"$SITE/index.html" && echo "notes" >"$SITE/notes.txt" ;;
    folder) mkdir -p "$SITE/photos" && echo "photo" >"$SITE/photos/a.png" ;;
    own-site|own-site+user) build_site; [ "$STATUS" -eq 0 ] || fail "the first build failed: $(tail -n 5 "$OUT")" ;;
    unfinished) mkdir "$SITE" && : >"$SITE/.quoravint-site" && echo "half" >"$SITE/index.html" ;;
  esac
  [ "$before" != own-site+user ] || { mkdir "$SITE/blog" && echo "post" >"$SITE/blog/post.html"; }
  old_wasm=$(cd "$SITE" 2>/dev/null && ls quoravint.*.wasm 2>/dev/null || true)
  [ ! -e "$SITE" ] || was=$(fingerprint "$SITE")
  set_programs 2
  : >"$CALLS"
  build_site
  expect "$expected_status" "$message"
  if [ "$expected_status" = fail ]; then
    [ "$(fingerprint "$SITE")" = "$was" ] || fail "the folder changed: $(fingerprint "$SITE" | head -n 3)"
    ! grep -q "^emcmake" "$CALLS" || fail "went on to build the programs before refusing the folder"
  else
    [ "$(sed -n 1p "$SITE"/quoravint.*.js 2>/dev/null)" = "quoravint.js of build 2" ] || fail "the site is not this build's: $(ls -A "$SITE")"
    [ -z "$old_wasm" ] || [ ! -e "$SITE/$old_wasm" ] || fail "the last build's $old_wasm is still there"
    [ "$(cd "$SITE" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)" = "$(cat "$SITE/.quoravint-site")" ] ||
      fail "the marker does not list the site's files: $(cat "$SITE/.quoravint-site")"
  fi
done <<'CASES'
build-web site: no folder yet|none|0|site ready
build-web site: an empty folder|empty|0|site ready
build-web site: its own site, rebuilt|own-site|0|site ready
build-web site: a build that did not finish|unfinished|0|site ready
build-web site: a web root with the user's page|web-root|fail|is not a site this script made
build-web site: a folder of the user's|folder|fail|is not a site this script made
build-web site: a file|file|fail|is not a folder
build-web site: its own site with the user's files added|own-site+user|fail|blog blog/post.html
CASES

# --- test.sh ------------------------------------------------------------------------------------
# cmake and xvfb-run stand in for the build and the test run, which pass; the sanitizer script
# records that it ran.
while IFS='|' read -r CASE sanitizers expected_status message; do
  new_tree scripts packaging
  printf '#!/bin/sh\nexit 0\n' >"$TREE/scripts/install-deps.sh"
  fake cmake
  fake xvfb-run
  rm "$TREE/scripts/test-sanitizers.sh"
  [ "$sanitizers" = missing ] || printf 'echo "test-sanitizers ran" >>"%s"\n' "$CALLS" >"$TREE/scripts/test-sanitizers.sh"
  mkdir -p "$TREE/build"
  run env QUORAVINT_BUILD="$TREE/build" bash "$TREE/scripts/test.sh"
  expect "$expected_status" "$message"
  [ "$sanitizers" = missing ] || grep -q "test-sanitizers ran" "$CALLS" || fail "the sanitizer script did not run"
done <<'CASES'
test.sh: the sanitizer script not executable|not-executable|0|running
test.sh: the sanitizer script missing|missing|fail|sanitizer run left out
CASES

# The real configure and ctest on a build whose GoogleTest cannot be found (the build itself is left
# out): whatever the tests asked for, none ran, and the run fails saying so.
NO_GTEST_BUILD=$WORK/no-gtest   # configured once, shared by the cases
while IFS='|' read -r CASE arguments message; do
  new_tree scripts packaging
  printf '#!/bin/sh\nexit 0\n' >"$TREE/scripts/install-deps.sh"
  fake cmake "[ \"\$1\" = --build ] || exec $(command -v cmake) -S '$SOURCE' -B '$NO_GTEST_BUILD' -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON"
  fake xvfb-run 'while [ "$1" != ctest ]; do shift; done; exec "$@"'
  # shellcheck disable=SC2086 # the arguments are words of the table
  run env QUORAVINT_BUILD="$NO_GTEST_BUILD" bash "$TREE/scripts/test.sh" $arguments
  expect fail "$message"
  ! grep -q "all tests passed" "$OUT" || fail "said all tests passed"
done <<'CASES'
test.sh: no GoogleTest, the quick run|--quick|the tests were left out
test.sh: no GoogleTest, tests chosen by name|--quick -R programs|No tests were found
CASES

# --- prepare_checks.sh ---------------------------------------------------------------------------
# npm stands in: `npm ci` and `npm install` each succeed or fail as the case says, and a success leaves
# node_modules/puppeteer-core. After an install, a second run with the same lock file calls no npm.
while IFS='|' read -r CASE ci install expected_status message expected_calls; do
  new_tree tests/web
  fake npm "case \$1 in ci) [ $ci = ok ] || exit 1 ;; install) [ $install = ok ] || exit 1 ;; esac
mkdir -p node_modules/puppeteer-core"
  run bash "$TREE/web/prepare_checks.sh" "$TREE/checks"
  expect "$expected_status" "$message"
  calls=$(cut -d' ' -f1,2 "$CALLS" | paste -sd,)
  [ "$calls" = "$expected_calls" ] || fail "called $calls, expected $expected_calls"
  if [ "$expected_status" = 0 ]; then
    : >"$CALLS"
    run bash "$TREE/web/prepare_checks.sh" "$TREE/checks"
    expect 0 "browser checks ready"
    [ ! -s "$CALLS" ] || fail "the second run called npm again: $(cat "$CALLS")"
  fi
done <<'CASES'
prepare_checks.sh: the lock file taken|ok|ok|0|browser checks ready|npm ci
prepare_checks.sh: a tag moved past the lock file|fail|ok|0|installing with npm install instead|npm ci,npm install
prepare_checks.sh: npm installs nothing|fail|fail|fail|installing with npm install instead|npm ci,npm install
CASES

[ "$failures" -eq 0 ] || { echo "$failures failed case(s)" >&2; exit 1; }
echo "every script failed loudly"
