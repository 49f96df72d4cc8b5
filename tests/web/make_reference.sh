#!/usr/bin/env bash
# Captures the native frames the browser checks compare with: demo-capture's first frame of
# --start 600 --seed 1 at both profiles, into $2/sd/ and $2/hd/, on an X display (the test
# command's Xvfb). $1 is the run folder with the programs and the assets.
#
# The song is left out: natively the song's player draws from the same C library generator as the
# show, so with it the show's choices follow the player's; the browser's player draws none. Without
# the song both make the same choices, and their frames can be compared pixel by pixel.
set -euo pipefail

RUN_DIR=$(cd "${1:?usage: make_reference.sh RUN_DIR OUT}" && pwd)
OUT=${2:?usage: make_reference.sh RUN_DIR OUT}
START_TICK=600   # ten seconds in: socks, clouds, stars and the scroll text are all on screen
SEED=1
SONG=sfx/towers.xm

SHOW=$(mktemp -d)
trap 'rm -rf "$SHOW"' EXIT
mkdir -p "$SHOW/sfx" "$OUT"
ln -s "$RUN_DIR/gfx" "$RUN_DIR/names.txt" "$SHOW/"
for sound in "$RUN_DIR"/sfx/*; do
  [ "sfx/$(basename "$sound")" = "$SONG" ] || ln -s "$sound" "$SHOW/sfx/"
done

cd "$SHOW"
for profile in sd hd; do
  rm -rf "${OUT:?}/$profile"
  if ! SDL_AUDIODRIVER=dummy "$RUN_DIR/demo-capture" --profile "$profile" --start "$START_TICK" --seed "$SEED" \
    --length 1t --png -o "$OUT/$profile" >/dev/null 2>"$SHOW/capture.log" ||
    [ ! -f "$OUT/$profile/frame-000000.png" ]; then
    cat "$SHOW/capture.log" >&2
    echo "make_reference: no $profile frame" >&2
    exit 1
  fi
done
echo "make_reference: native frames of tick $START_TICK, seed $SEED, without the song, in $OUT"
