# Both programs start, trace their start-up and main loop, open a window of their profile's
# size on which the show is drawn, and end with status 0 on the quit request (SIGINT).
# Without sprite images they still run, on a black screen.
source "$(dirname "$0")/../../support/lib.sh" "$@"

CT_VALUES_CHECKED=50   # pass times compared for order; enough to span several frames

# Fails unless the first CT_VALUES_CHECKED pass times of the trace never go back.
expect_pass_times_in_order() {
  local count
  count=$(grep -o -m "$CT_VALUES_CHECKED" 'CT: [0-9.e+]*' "$SHOW_TRACE" | head -n "$CT_VALUES_CHECKED" \
    | awk '{ if (NR > 1 && $2 + 0 < last) bad = 1; last = $2 + 0 } END { print bad ? -1 : NR }')
  [ "$count" -eq "$CT_VALUES_CHECKED" ] || fail "pass times missing or out of order (got $count)"
}

# Fails unless the screenshot of the profile's area is of that size and shows something.
expect_picture_drawn() {
  local size=$1 shot=$WORK_DIR/$SHOW_NAME-screen.png
  screenshot "$shot" "$size"
  [ "$(image_size "$shot")" = "$size" ] || fail "screenshot is $(image_size "$shot"), expected $size"
  [ "$(image_maximum "$shot")" -gt 0 ] || fail "the window shows nothing but black"
}

for program in "${PROGRAMS[@]}"; do
  size=$(profile_size "$program")

  start_show "$program"
  wait_for_show
  wait_for_lines_with "CT: " "$CT_VALUES_CHECKED"
  expect_pass_times_in_order
  window=$(find_show_window)
  expected=$(expected_window_size "$size")
  [ "$(window_size "$window")" = "$expected" ] || fail "window is $(window_size "$window"), expected $expected"
  expect_picture_drawn "$size"
  request_quit
  expect_exit 0

  start_show "$program" "$(run_folder_without gfx)"
  wait_for_show
  expect_in_trace "Error loading gfx/sockwalk.png"
  screenshot "$WORK_DIR/black.png" "$size"
  [ "$(image_maximum "$WORK_DIR/black.png")" -eq 0 ] || fail "without sprite images the screen is not black"
  request_quit
  expect_exit 0
done
note "all start-up checks passed"
