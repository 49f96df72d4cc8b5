# Without a display neither program can open its window: each writes "VIDEO ERROR: " with
# SDL's reason and ends at once with status 1, before the main loop starts.
source "$(dirname "$0")/../../support/lib.sh" "$@"

UNSERVED_DISPLAY=:59999   # a display number far above any X server this machine runs

# Fails unless the program reported the video failure and never started its loop.
expect_video_error() {
  expect_exit 1
  grep -q -E -m 1 'VIDEO ERROR: [^ ]' "$SHOW_TRACE" || fail "no \"VIDEO ERROR: \" with a reason"
  expect_not_in_trace "Init complete."
  expect_not_in_trace "CT: "
}

for program in "${PROGRAMS[@]}"; do
  start_show "$program" "$RUN_DIR" -u DISPLAY
  expect_video_error

  start_show "$program" "$RUN_DIR" DISPLAY="$UNSERVED_DISPLAY"
  expect_video_error
done
note "all no-display checks passed"
