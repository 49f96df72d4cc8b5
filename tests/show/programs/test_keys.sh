# An Escape key press ends either program with status 0, also when other key events wait
# in the queue before it; an Escape release alone and other keys leave the show running.
source "$(dirname "$0")/../../support/lib.sh" "$@"

for program in "${PROGRAMS[@]}"; do
  # Escape goes down before the program starts, so the program meets only its release; where
  # SDL reports the held key as a press when the window gains the focus, other keys alone.
  sdl_reports_held_keys || hold_key Escape
  start_show "$program"
  wait_for_show
  find_show_window >/dev/null
  sdl_reports_held_keys || release_key
  expect_still_running
  press_keys a space Return Left Right Up Down F1
  expect_still_running
  press_keys Escape
  expect_exit 0

  start_show "$program"
  wait_for_show
  find_show_window >/dev/null
  queue_keys a Left Up space Escape b Right
  expect_exit 0
done
note "all key checks passed"
