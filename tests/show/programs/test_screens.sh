# The show in a window of its own at two sizes and after a resize, full screen at the size of a
# 2560 x 1440 desktop (an X server of its own), and as the screensaver hack in a window made here
# at a preview size and a large one, then resized by its owner: every screenshot shows the frame
# fitted, lit where the frame lies and black in the bars; SIGTERM ends the hack with status 0; the hack's description parses.
source "$(dirname "$0")/../../support/lib.sh" "$@"
source "$(dirname "$0")/../../../scripts/lib.sh" test_screens

PACKAGING=$(dirname "$0")/../../../packaging
HACK=$PACKAGING/quoravint-hack.in
FRAME_WAIT=3   # s for a few frames to be drawn after a start or a resize
GIVEN_RESIZE_W=500   # the size a given window's owner resizes it to: taller than the frame, so
GIVEN_RESIZE_H=700   # the bars move from the sides to above and below
OWN_X=""       # the X server this test starts for a desktop of another size
holder=""      # the program holding the window handed to the hack
trap '[ -z "$OWN_X" ] || kill "$OWN_X" 2>/dev/null; [ -z "$holder" ] || kill "$holder" 2>/dev/null; cleanup' EXIT

# The brightest channel of the part GEOMETRY (WxH+X+Y) of the image FILE.
area_maximum() {
  convert "$1" -crop "$2" +repage -format '%[fx:int(255 * maxima)]' info:
}

# Fails unless window WINDOW, of size W x H, shows the frame of PROGRAM's profile fitted: lit
# inside, black bars.
expect_fitted() {
  local window=$1 w=$2 h=$3 profile shot=$WORK_DIR/fitted-$STARTS-$2x$3.png fw fh pw ph
  profile=$(profile_size "$4")
  pw=${profile%x*} ph=${profile#*x}
  sleep "$FRAME_WAIT"
  # A window manager may take a moment longer to give a new or resized window its size.
  local deadline=$((SECONDS + FRAME_WAIT))
  while [ "$window" != root ] && [ "$(window_size "$window")" != "${w}x${h}" ] && [ $SECONDS -lt $deadline ]; do
    sleep "$POLL"
  done
  import -window "$window" "$shot" || fail "import could not take a screenshot of the window"
  [ "$(image_size "$shot")" = "${w}x${h}" ] || fail "the window is $(image_size "$shot"), expected ${w}x${h}"
  if ((w * ph <= h * pw)); then fw=$w fh=$((w * ph / pw)); else fh=$h fw=$((h * pw / ph)); fi
  [ "$(area_maximum "$shot" "$((fw / 2))x$((fh / 2))+$(((w - fw) / 2 + fw / 4))+$(((h - fh) / 2 + fh / 4))")" -gt 0 ] ||
    fail "the frame's middle is black ($shot)"
  if ((fh + 4 < h)); then
    [ "$(area_maximum "$shot" "${w}x$(((h - fh) / 2 - 1))+0+0")" -eq 0 ] || fail "the bar above is not black ($shot)"
  fi
  if ((fw + 4 < w)); then
    [ "$(area_maximum "$shot" "$(((w - fw) / 2 - 1))x${h}+0+0")" -eq 0 ] || fail "the bar on the left is not black ($shot)"
  fi
  note "fitted into ${w}x${h}"
}

# Starts an X server with one screen of SIZE (WxH) and points DISPLAY at it.
start_own_x() {
  local number=$WORK_DIR/own-x.display deadline=$((SECONDS + TRACE_WAIT))
  local screen
  read -ra screen <<<"$(xvfb_args "$1")"
  Xvfb -displayfd 3 "${screen[@]}" 3>"$number" 2>"$WORK_DIR/own-x.log" &
  OWN_X=$!
  until [ -s "$number" ]; do
    kill -0 "$OWN_X" 2>/dev/null || fail "Xvfb ended: $(tail -n 3 "$WORK_DIR/own-x.log")"
    [ $SECONDS -lt $deadline ] || fail "Xvfb did not start within $TRACE_WAIT s"
    sleep "$POLL"
  done
  TEST_DISPLAY=$DISPLAY
  export DISPLAY=:$(cat "$number")
}

# Stops the X server of start_own_x and points DISPLAY back at the test's.
stop_own_x() {
  kill "$OWN_X"
  OWN_X=""
  export DISPLAY=$TEST_DISPLAY
}

# --- A window of the show's own, resized; full screen at the desktop's size ----------------------
# program, setting, the window's size, the size it is resized to (- for none), the size of a
# desktop of its own (- for the test's display)
cases=(
  "demo-hd QUORAVINT_WINDOW=800x450 800x450 - -"
  "demo-hd QUORAVINT_WINDOW=640x640 640x640 900x400 -"
  "demo QUORAVINT_FIT=1 2560x1440 - 2560x1440"
)
for case in "${cases[@]}"; do
  read -r program setting size resize desktop <<<"$case"
  [ "$desktop" = - ] || start_own_x "$desktop"
  start_show "$program" "" "$setting"
  wait_for_show
  window=$(find_show_window)
  # Full screen, classic SDL draws into a window of its own above the named one: shoot the screen.
  [ "$desktop" = - ] || window=root
  expect_fitted "$window" "${size%x*}" "${size#*x}" "$program"
  if [ "$resize" != - ]; then
    xdotool windowsize "$window" "${resize%x*}" "${resize#*x}" || fail "xdotool could not resize the window"
    expect_fitted "$window" "${resize%x*}" "${resize#*x}" "$program"
  fi
  request_quit
  expect_exit 0
  [ "$desktop" = - ] || stop_own_x
done

# --- The screensaver hack in a window made here --------------------------------------------------
xmllint --noout "$PACKAGING/xscreensaver/quoravint.xml" || fail "the hack's description does not parse"
hack_dir=$WORK_DIR/hack/libexec/xscreensaver
mkdir -p "$hack_dir" "$WORK_DIR/hack/lib/games" "$WORK_DIR/hack/share/games"
sed -e 's|@QUORAVINT_PROGRAM_DIR@|lib/games/quoravint|' -e 's|@QUORAVINT_DATA_DIR@|share/games/quoravint|' \
  "$HACK" >"$hack_dir/quoravint"
chmod +x "$hack_dir/quoravint"
ln -s "$RUN_DIR" "$WORK_DIR/hack/lib/games/quoravint"
ln -s "$RUN_DIR" "$WORK_DIR/hack/share/games/quoravint"
for size in 320x240 1600x900; do
  "$BUILD_DIR/tests/show/hold-window" "$size" "saver-$size" &
  holder=$!
  deadline=$((SECONDS + TRACE_WAIT))
  until given=$(xdotool search --name "^saver-$size\$" | head -n 1) && [ -n "$given" ]; do
    [ $SECONDS -lt $deadline ] || fail "no window to hand to the hack"
    sleep "$POLL"
  done
  start_command quoravint-hack "$WORK_DIR" env XSCREENSAVER_WINDOW="$given" "$hack_dir/quoravint" -hd
  expect_fitted "$given" "${size%x*}" "${size#*x}" demo-hd
  # Its owner resizes it, as XScreenSaver's preview pane does: no event tells the show, which refits.
  xdotool windowsize "$given" "$GIVEN_RESIZE_W" "$GIVEN_RESIZE_H" || fail "xdotool could not resize the given window"
  expect_fitted "$given" "$GIVEN_RESIZE_W" "$GIVEN_RESIZE_H" demo-hd
  [ ! -s "$SHOW_TRACE" ] || fail "the hack wrote a trace"
  started=$SECONDS
  kill -TERM "$(program_pid)"
  expect_exit 0
  ((SECONDS - started <= 1)) || fail "the hack took $((SECONDS - started)) s to end after SIGTERM"
  # The window is its owner's: renamed, it would be found as the show's (the root window, for ever).
  xprop -id "$given" WM_NAME | grep -q "\"saver-$size\"" || fail "the hack renamed the window it was given"
  kill "$holder"
done
note "the hack draws fitted into the window it is given, silently, leaves its name, and ends at once on SIGTERM"
