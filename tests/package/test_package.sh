# The Debian package as made by the build, before anyone installs it:
#   - lintian, Debian's package checker, reports no errors (its whole report is printed)
#   - it holds exactly the files the show reads (assetgen --list), the four programs, the launcher, the desktop entry,
#     the icon in three sizes, both manual pages, the copyright file and the README
#   - its dependencies come from the libraries the programs link, and the SDL one is met by
#     classic SDL 1.2 (installed here) and by sdl12-compat (apt-get simulates the swap)
source "$(dirname "$0")/../support/lib.sh" "$@"
source "$(dirname "$0")/package_lib.sh"

SHOW_NAME=package
DATA=usr/share/games/$PACKAGE
PROGRAMS=usr/lib/games/$PACKAGE
SDL_COMPAT=libsdl1.2-compat-shim   # Debian 12's sdl12-compat under the name of the SDL 1.2 library

deb=$(build_package)
note "made $deb"

# --- lintian ----------------------------------------------------------------------------------
lintian --fail-on error --display-info "$deb" >"$WORK_DIR/lintian.txt" 2>&1
lintian_status=$?
note "lintian's report:"
sed 's/^/    /' "$WORK_DIR/lintian.txt"
[ "$lintian_status" -eq 0 ] && ! grep -q '^E:' "$WORK_DIR/lintian.txt" || fail "lintian reports errors"

# --- What it holds ----------------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$WORK_DIR/contents"
expect_file() {
  grep -q -x -F -- "$1" "$WORK_DIR/contents" || fail "the package lacks /$1"
}
"$BUILD_DIR/assetgen/assetgen" --list | sort -u >"$WORK_DIR/show-files" || fail "assetgen --list failed"
[ -s "$WORK_DIR/show-files" ] || fail "assetgen --list printed no files"
grep "^$DATA/." "$WORK_DIR/contents" | grep -v '/$' | sed "s|^$DATA/||" | sort >"$WORK_DIR/packaged-files"
cmp -s "$WORK_DIR/show-files" "$WORK_DIR/packaged-files" ||
  fail "the package's show files differ from the show's list: $(diff "$WORK_DIR/show-files" "$WORK_DIR/packaged-files" | grep '^[<>]' | head -n 5 | tr '\n' ' ')"
for program in demo demo-hd demo-capture demo-capture-hd; do expect_file "$PROGRAMS/$program"; done
for size in 48 128 256; do expect_file "usr/share/icons/hicolor/${size}x${size}/apps/$PACKAGE.png"; done
for file in usr/games/$PACKAGE usr/share/applications/$PACKAGE.desktop usr/share/man/man6/$PACKAGE.6.gz \
  usr/share/man/man6/$PACKAGE-capture.6.gz usr/share/doc/$PACKAGE/copyright usr/share/doc/$PACKAGE/README.md.gz; do
  expect_file "$file"
done
note "it holds $(wc -l <"$WORK_DIR/show-files") show files, the programs, launcher, desktop entry, icons, manual pages and documents"

# --- Icons of the sizes their folders say -----------------------------------------------------
dpkg-deb -x "$deb" "$WORK_DIR/unpacked"
for size in 48 128 256; do
  icon=$WORK_DIR/unpacked/usr/share/icons/hicolor/${size}x${size}/apps/$PACKAGE.png
  [ "$(image_size "$icon")" = "${size}x${size}" ] || fail "the ${size} px icon is $(image_size "$icon")"
  [ "$(image_maximum "$icon")" -gt 0 ] || fail "the ${size} px icon is empty"
done

# --- The manual pages list every option the programs take -------------------------------------
manual() {
  MANWIDTH=200 man -l "$WORK_DIR/unpacked/usr/share/man/man6/$1.6.gz" 2>"$WORK_DIR/man.err"
  [ ! -s "$WORK_DIR/man.err" ] || fail "man warns about $1.6: $(head -n 3 "$WORK_DIR/man.err")"
}
options_of() {
  grep -o -E -- '(^|[ ,])--?[a-zA-Z][a-zA-Z-]*' | sed 's/^[ ,]*//' | sort -u
}
manual quoravint >"$WORK_DIR/quoravint.txt"
manual quoravint-capture >"$WORK_DIR/quoravint-capture.txt"
launcher=$WORK_DIR/unpacked/usr/games/$PACKAGE
for option in $("$launcher" --help | options_of); do
  grep -q -F -- "$option" "$WORK_DIR/quoravint.txt" || fail "quoravint(6) does not describe $option of --help"
done
for option in $("$RUN_DIR/demo-capture" --help | options_of); do
  grep -q -F -- "$option" "$WORK_DIR/quoravint-capture.txt" || fail "quoravint-capture(6) does not describe $option of --help"
done
note "the manual pages describe every option of --help"

# --- Dependencies -----------------------------------------------------------------------------
depends=$(dpkg-deb -f "$deb" Depends)
note "Depends: $depends"
for library in libsdl-image1.2 libsdl-mixer1.2 libpng16-16 libc6; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library, which the programs link"
done
[[ $depends == *"$SDL_COMPAT"* ]] || fail "Depends does not offer $SDL_COMPAT for SDL"
apt-get -q -s install "$deb" >"$WORK_DIR/classic.log" 2>&1 || fail "apt-get cannot install it with classic SDL: $(tail -n 3 "$WORK_DIR/classic.log")"
apt-get -q -s install "$deb" "$SDL_COMPAT" >"$WORK_DIR/compat.log" 2>&1 ||
  fail "apt-get cannot install it with $SDL_COMPAT: $(tail -n 3 "$WORK_DIR/compat.log")"
grep -q "^Inst $SDL_COMPAT" "$WORK_DIR/compat.log" && grep -q "^Inst $PACKAGE" "$WORK_DIR/compat.log" ||
  fail "apt-get would not install $PACKAGE beside $SDL_COMPAT: $(grep -E '^(Inst|Remv)' "$WORK_DIR/compat.log" | head)"
! grep -q "^Remv $PACKAGE" "$WORK_DIR/compat.log" || fail "apt-get would remove $PACKAGE for $SDL_COMPAT"
note "its dependencies are met by classic SDL 1.2 and by $SDL_COMPAT"
