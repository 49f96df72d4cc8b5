# An Escape key press ends either program with status 0, also when other key events wait
# in the queue before it; an Escape held down since before the program started, its release
# and other keys leave the show running.
source "$(dirname "$0")/../../support/lib.sh" "$@"

for program in "${PROGRAMS[@]}"; do
  # Escape goes down before the program starts and stays down while the show has the keyboard,
  # longer than the X server waits before repeating a held key: SDL 2 takes the first repeat
  # of a key it never saw go down for a press.
  hold_key Escape
  start_show "$program"
  wait_for_show
  find_show_window >/dev/null
  expect_still_running
  release_key
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
