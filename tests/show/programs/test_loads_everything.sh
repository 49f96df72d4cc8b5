# Both programs, started from the run folder, load every sprite in index order, the font
# image, the three effects and the song without an error line, and end with status 0 on
# the quit request (SIGINT).
source "$(dirname "$0")/../../support/lib.sh" "$@"

# The sprite images in index order.
SPRITE_PATHS="gfx/sockwalk.png gfx/sockyell0.png gfx/sockyell1.png gfx/block.png gfx/pipe.png gfx/dome.png
gfx/cloud0.png gfx/cloud1.png gfx/sky0.png gfx/sky1.png gfx/sky2.png gfx/shrub0.png gfx/shrub1.png gfx/shrub2.png
gfx/textdot.png gfx/cereal0.png gfx/cereal1.png gfx/cereal2.png gfx/cereal3.png gfx/cereal4.png gfx/cereal5.png
gfx/cereal6.png gfx/cereal7.png gfx/cereal8.png gfx/grass.png gfx/ground0.png gfx/ground1.png gfx/ground2.png
gfx/stone0.png gfx/stone1.png gfx/stone2.png gfx/domefloor.png gfx/bowl.png gfx/spoon.png gfx/spoon.png
gfx/fridge-open.png gfx/fridge-closed.png gfx/table.png"

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
  for loaded in "LOADED SOUND: sfx/future.ogg" "LOADED SOUND: sfx/AUAUAUAHAHAH.ogg" \
                "LOADED SOUND: sfx/VLERVELER.ogg" "LOADED SONG" "PLAYING SONG"; do
    expect_in_trace "$loaded"
  done
  request_quit
  expect_exit 0
done
note "every asset loaded without an error line"
