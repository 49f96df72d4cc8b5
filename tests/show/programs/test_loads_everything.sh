# Both programs, started from the run folder, load every sprite in index order, the font
# image, the three effects and the song without an error line, and end with status 0 on
# the quit request (SIGINT).
source "$(dirname "$0")/../../support/lib.sh" "$@"

# The sprite images in index order, from the show's own file list (the font is listed after them).
SHOW_FILES=$("$BUILD_DIR/assetgen/assetgen" --list)
SPRITE_PATHS=$(grep -E '^gfx/' <<<"$SHOW_FILES" | grep -v -F gfx/font5.png)
[ -n "$SPRITE_PATHS" ] || fail "the show's list names no sprites"

# Fails unless the trace holds every sprite path in index order, each ending a line (the
# first follows the unterminated trace of the scenes' construction).
expect_sprite_paths_in_order() {
  local traced
  traced=$(grep -o -E 'gfx/[a-z0-9-]+\.png$' "$SHOW_TRACE" | tr '\n' ' ')
  # shellcheck disable=SC2086  # word splitting joins the list onto one line
  [ "$traced" = "$(echo $SPRITE_PATHS) " ] || fail "sprite paths traced: $traced"
}

for program in "${PROGRAMS[@]}"; do
  start_show "$program"
  wait_for_show
  expect_sprite_paths_in_order
  for error in "Error loading" "Invalid image." "AUDIO ERROR" "ERROR LOADING SOUND" "SONG LOAD FAIL" "MUSIC ERROR"; do
    expect_not_in_trace "$error"
  done
  while IFS= read -r effect; do
    expect_in_trace "LOADED SOUND: $effect"
  done < <(grep -E '\.ogg$' <<<"$SHOW_FILES")
  for loaded in "LOADED SONG" "PLAYING SONG"; do
    expect_in_trace "$loaded"
  done
  request_quit
  expect_exit 0
done
note "every asset loaded without an error line"
