# The Debian package installed like any program, then removed. Installing changes the machine
# (a user's own installed copy would be replaced, then removed), so this runs only in the
# throw-away root of `scripts/test.sh --fresh`, which sets QUORAVINT_FRESH; elsewhere it is skipped.
#   - apt-get installs it with its dependencies; quoravint is on a user's PATH, with --help,
#     --version and one-line complaints about bad options
#   - quoravint, started from another folder, plays the show there from the installed files:
#     its window shows the show, Escape ends it with 0, it leaves nothing in the user's folder
#   - quoravint --hd plays at 1920 x 1080 and keeps the trace off standard output
#   - quoravint --capture writes a relative output where it was started
#   - apt-get remove --purge leaves none of the package's files behind
source "$(dirname "$0")/../support/lib.sh" "$@"
source "$(dirname "$0")/package_lib.sh"

USER_PATH_GAMES=/usr/games   # on every user's PATH in Debian, though not on root's
BRIGHT=40                    # a frame of the show has something brighter than this; black has not

SKIPPED=77                   # the exit status ctest counts as a skipped test
# Paths the package must install; like every path dpkg lists, each must be gone after removal.
INSTALLED_PATHS=(
  /usr/games/quoravint
  /usr/lib/games/quoravint/{demo,demo-hd,demo-capture,demo-capture-hd}
  /usr/share/games/quoravint/names.txt
  /usr/share/applications/quoravint.desktop
  /usr/share/icons/hicolor/{48x48,128x128,256x256}/apps/quoravint.png
  /usr/share/man/man6/{quoravint,quoravint-capture}.6.gz
  /usr/share/doc/quoravint/{copyright,changelog.gz,README.md.gz}
  /usr/libexec/xscreensaver/quoravint /usr/share/xscreensaver/config/quoravint.xml
)

if [ -z "${QUORAVINT_FRESH:-}" ]; then
  echo "SKIP: installs and removes the package, so it runs only in the clean root of scripts/test.sh --fresh"
  exit "$SKIPPED"
fi
if [ "$AS_ROOT" = none ]; then
  echo "SKIP: installing a package needs root or sudo without a password"
  exit "$SKIPPED"
fi

# Removes the package again whatever happened, then the helpers' own cleanup.
trap 'stop_show; purge_package; cleanup' EXIT

deb=$(build_package)
purge_package
apt_get install "$deb" >"$WORK_DIR/install.log" 2>&1 || fail "apt-get could not install $deb: $(tail -n 5 "$WORK_DIR/install.log")"
package_installed || fail "$PACKAGE is not installed after apt-get install"
dpkg -L "$PACKAGE" >"$WORK_DIR/installed-files"
for path in "${INSTALLED_PATHS[@]}"; do
  [ -e "$path" ] && grep -qxF "$path" "$WORK_DIR/installed-files" || fail "$path is not installed by the package"
done
note "installed $(basename "$deb"): $(wc -l <"$WORK_DIR/installed-files") paths"

# --- The launcher on the PATH -----------------------------------------------------------------
export PATH=$PATH:$USER_PATH_GAMES
SHOW_NAME=quoravint
[ "$(command -v quoravint)" = "$USER_PATH_GAMES/quoravint" ] || fail "quoravint is not $USER_PATH_GAMES/quoravint"
version=$(sed -n 's/^Version: //p' <(dpkg-deb -f "$deb"))
[ "$(quoravint --version)" = "quoravint $version" ] || fail "--version says \"$(quoravint --version)\", expected $version"
quoravint --help | grep -q -e "--capture" || fail "--help does not mention --capture"
quoravint --capture --help | grep -q -e "--data" || fail "the capture's --help does not reach the installed capture"
quoravint --colour 2>"$WORK_DIR/bad.err"
status=$?
[ "$status" -eq 2 ] && [ "$(wc -l <"$WORK_DIR/bad.err")" -eq 1 ] && grep -q "unknown option '--colour'" "$WORK_DIR/bad.err" ||
  fail "a bad option gave status $status and \"$(cat "$WORK_DIR/bad.err")\""
env -u DISPLAY quoravint 2>"$WORK_DIR/nodisplay.err"
[ $? -eq 1 ] && grep -q "no X display" "$WORK_DIR/nodisplay.err" || fail "without a display: \"$(cat "$WORK_DIR/nodisplay.err")\""
man -w quoravint >/dev/null && man -w quoravint-capture >/dev/null || fail "the manual pages are not found by man"
note "quoravint is on the PATH with --help, --version, its manual pages and one-line complaints"

# --- The show from another folder -------------------------------------------------------------
elsewhere=$WORK_DIR/elsewhere
mkdir -p "$elsewhere"
start_command quoravint "$elsewhere" quoravint --trace -
wait_for_show
wait_for_trace "LOADED SONG"
expect_not_in_trace "Error"
find_show_window >/dev/null
sleep "$STILL_RUNNING_WAIT"   # a few frames drawn
shot=$BUILD_DIR/installed-show.png
screenshot "$shot" 1024x768
[ "$(image_maximum "$shot")" -gt "$BRIGHT" ] || fail "the installed show's screen is black ($shot)"
press_keys Escape
expect_exit 0
[ -z "$(ls -A "$elsewhere")" ] || fail "the show left files in the user's folder: $(ls -A "$elsewhere")"
note "the installed show played from $elsewhere (screenshot $shot) and Escape ended it with 0"

start_command quoravint-hd "$elsewhere" quoravint --hd
window=$(find_show_window)
[ "$(window_size "$window")" = 1920x1080 ] || fail "quoravint --hd opened a $(window_size "$window") window"
sleep "$STILL_RUNNING_WAIT"
show_running || fail "quoravint --hd ended by itself"
press_keys Escape
expect_exit 0
[ ! -s "$SHOW_TRACE" ] || fail "without --trace the trace reached standard output"
note "quoravint --hd played at 1920 x 1080 without flooding standard output"

# --- The screensaver hack, from where XScreenSaver finds it ------------------------------------
xmllint --noout /usr/share/xscreensaver/config/quoravint.xml || fail "the screensaver's description does not parse"
before=$(top_window_count)
start_command quoravint-hack "$elsewhere" /usr/libexec/xscreensaver/quoravint -root
sleep "$STILL_RUNNING_WAIT"
expect_drawn_on_root "$before"
kill -TERM "$SHOW_PID"
expect_exit 0
[ ! -s "$SHOW_TRACE" ] || fail "the screensaver hack wrote a trace"
note "the installed screensaver hack drew on the root window and SIGTERM ended it with 0"

# --- The capture, its output where the user stands --------------------------------------------
(cd "$WORK_DIR" && timeout 300 quoravint --capture --length 1 -o x.mp4 >/dev/null 2>"$WORK_DIR/capture.err") ||
  fail "quoravint --capture failed: $(tr '\r' '\n' <"$WORK_DIR/capture.err" | tail -n 3)"
frames=$(ffprobe -v error -select_streams v:0 -show_entries stream=nb_frames -of csv=p=0 "$WORK_DIR/x.mp4")
[ "$frames" = 60 ] || fail "the capture of 1 s has $frames frames, expected 60"
note "quoravint --capture --length 1 -o x.mp4 wrote 60 frames into $WORK_DIR"

# --- Removed, nothing left --------------------------------------------------------------------
SHOW_NAME=quoravint
purge_package
! package_installed || fail "$PACKAGE is still installed after apt-get remove --purge"
left=()
while read -r path; do
  [ -d "$path" ] && [ ! -L "$path" ] && continue   # folders such as /usr/games belong to others too
  [ -e "$path" ] || [ -L "$path" ] && left+=("$path")
done <"$WORK_DIR/installed-files"
for folder in /usr/lib/games/$PACKAGE /usr/share/games/$PACKAGE /usr/share/doc/$PACKAGE; do
  [ -e "$folder" ] && left+=("$folder")
done
[ ${#left[@]} -eq 0 ] || fail "left behind after removal: ${left[*]}"
note "apt-get remove --purge left none of its $(wc -l <"$WORK_DIR/installed-files") paths behind"
