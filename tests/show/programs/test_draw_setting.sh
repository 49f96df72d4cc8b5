# QUORAVINT_DRAW chooses how the programs draw: "reference" is acknowledged on standard error
# and the show runs and draws as usual; an unknown value is named there and the show goes on the
# default way; without it nothing is said.
source "$(dirname "$0")/../../support/lib.sh" "$@"

FRAMES_SEEN=30   # passes traced before the screen is looked at: several frames drawn

# Starts PROGRAM with SETTING (a `env` argument, or -u for none), lets it draw, checks the
# picture and quits it; fails unless its standard error then holds TEXT (nothing if empty).
run_with() {
  local program=$1 setting=$2 text=$3 shot
  start_show "$program" "$RUN_DIR" "$setting"
  wait_for_show
  wait_for_lines_with "CT: " "$FRAMES_SEEN"
  shot=$WORK_DIR/$STARTS-screen.png
  screenshot "$shot" "$(profile_size "$program")"
  [ "$(image_maximum "$shot")" -gt 0 ] || fail "with $setting the window shows nothing but black"
  request_quit
  expect_exit 0
  if [ -z "$text" ]; then
    ! grep -q QUORAVINT_DRAW "$SHOW_TRACE.stderr" || fail "without the setting it said: $(cat "$SHOW_TRACE.stderr")"
  else
    grep -q -F -- "$text" "$SHOW_TRACE.stderr" || fail "with $setting it did not say \"$text\": $(cat "$SHOW_TRACE.stderr")"
  fi
}

for program in "${PROGRAMS[@]}"; do
  run_with "$program" QUORAVINT_DRAW=reference "drawing every frame the reference way"
  run_with "$program" QUORAVINT_DRAW=sideways "QUORAVINT_DRAW=sideways is neither"
  run_with "$program" -uQUORAVINT_DRAW ""
done
note "the drawing setting is read, acknowledged and its bad values named"
