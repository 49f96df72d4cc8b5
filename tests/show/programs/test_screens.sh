# The show in a window of its own at two sizes and after a resize, and as the screensaver hack in
# a window made here at a preview size and a large one: every screenshot shows the frame fitted,
# lit where the frame lies and black in the bars; SIGTERM ends the hack with status 0.
source "$(dirname "$0")/../../support/lib.sh" "$@"

HACK=$(dirname "$0")/../../../packaging/quoravint-hack.in
FRAME_WAIT=3   # s for a few frames to be drawn after a start or a resize

# The brightest channel of the part GEOMETRY (WxH+X+Y) of the image FILE.
area_maximum() {
  convert "$1" -crop "$2" +repage -format '%[fx:int(255 * maxima)]' info:
}

# Fails unless window WINDOW, of size W x H, shows the 16:9 frame fitted: lit inside, black bars.
expect_fitted() {
  local window=$1 w=$2 h=$3 shot=$WORK_DIR/fitted-$STARTS-$2x$3.png fw fh
  sleep "$FRAME_WAIT"
  import -window "$window" "$shot" || fail "import could not take a screenshot of the window"
  [ "$(image_size "$shot")" = "${w}x${h}" ] || fail "the window is $(image_size "$shot"), expected ${w}x${h}"
  if ((w * 9 <= h * 16)); then fw=$w fh=$((w * 9 / 16)); else fh=$h fw=$((h * 16 / 9)); fi
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

# --- A window of the show's own, resized ------------------------------------------------------------
for size in 800x450 640x640; do
  start_show demo-hd "" QUORAVINT_WINDOW=$size
  wait_for_show
  window=$(find_show_window)
  expect_fitted "$window" "${size%x*}" "${size#*x}"
  if [ "$size" = 640x640 ]; then
    xdotool windowsize "$window" 900 400 || fail "xdotool could not resize the window"
    expect_fitted "$window" 900 400
  fi
  request_quit
  expect_exit 0
done

# --- The screensaver hack in a window made here --------------------------------------------------
hack_dir=$WORK_DIR/hack/libexec/xscreensaver
mkdir -p "$hack_dir" "$WORK_DIR/hack/lib/games" "$WORK_DIR/hack/share/games"
sed -e 's|@QUORAVINT_PROGRAM_DIR@|lib/games/quoravint|' -e 's|@QUORAVINT_DATA_DIR@|share/games/quoravint|' \
  "$HACK" >"$hack_dir/quoravint"
chmod +x "$hack_dir/quoravint"
ln -s "$RUN_DIR" "$WORK_DIR/hack/lib/games/quoravint"
ln -s "$RUN_DIR" "$WORK_DIR/hack/share/games/quoravint"
for size in 320x240 1600x900; do
  display -size "$size" -geometry "$size+0+0" -title "saver-$size" xc:red &
  holder=$!
  deadline=$((SECONDS + TRACE_WAIT))
  until given=$(xdotool search --name "^saver-$size\$" | head -n 1) && [ -n "$given" ]; do
    [ $SECONDS -lt $deadline ] || fail "no window to hand to the hack"
    sleep "$POLL"
  done
  start_command quoravint-hack "$WORK_DIR" env XSCREENSAVER_WINDOW="$given" "$hack_dir/quoravint" -hd
  expect_fitted "$given" "${size%x*}" "${size#*x}"
  [ ! -s "$SHOW_TRACE" ] || fail "the hack wrote a trace"
  started=$SECONDS
  kill -TERM "$(program_pid)"
  expect_exit 0
  ((SECONDS - started <= 1)) || fail "the hack took $((SECONDS - started)) s to end after SIGTERM"
  kill "$holder"
done
note "the hack draws fitted into the window it is given, silently, and ends at once on SIGTERM"
