# demo-capture draws the same frames whichever way it draws: with QUORAVINT_DRAW=reference it
# says so and writes frames and a trace identical byte for byte to those of the default fast
# way, at both profiles, over the first scene switch (so nothing the fast way keeps between
# frames outlives what it shows); with no X display it draws off-screen through EGL, and its
# frames are those of the window on the X display byte for byte; an unknown QUORAVINT_DRAW is
# named and the capture goes on; and it ends with status 0 every time, off-screen too (sdl12-compat
# unloads SDL 2 at exit).
source "$(dirname "$0")/../support/lib.sh" "$@"

CAPTURE=$RUN_DIR/demo-capture
CAPTURE_LIMIT=200      # s one capture may take on a busy machine before it counts as hung
SWITCH_TICK=15000      # scene 1 gives way to scene 2
SWITCH_MARGIN=10       # frames captured either side of the switch
EXIT_ROUNDS=12         # short captures in a row: enough to meet a crash at exit that strikes one in four

SHOW_NAME=demo-capture

# Captures the frames around the switch at PROFILE into folder NAME with the trace in NAME.trace;
# standard error goes to NAME.err. QUORAVINT_DRAW is passed on as the caller set it; further
# arguments are `env` settings for the capture, e.g. -u DISPLAY.
capture_switch() {
  local name=$1 profile=$2
  shift 2
  timeout -k 5 "$CAPTURE_LIMIT" env "$@" "$CAPTURE" --profile "$profile" --start $((SWITCH_TICK - SWITCH_MARGIN)) \
    --length $((2 * SWITCH_MARGIN))t --png -o "$WORK_DIR/$name" --trace "$WORK_DIR/$name.trace" \
    >/dev/null 2>"$WORK_DIR/$name.err" || fail "capture $name failed: $(tr '\r' '\n' <"$WORK_DIR/$name.err" | tail -n 3)"
}

for profile in sd hd; do
  QUORAVINT_DRAW= capture_switch "fast-$profile" "$profile"
  QUORAVINT_DRAW=reference capture_switch "reference-$profile" "$profile"
  QUORAVINT_DRAW= capture_switch "offscreen-$profile" "$profile" -u DISPLAY
  grep -q -F "drawing every frame the reference way" "$WORK_DIR/reference-$profile.err" ||
    fail "$profile: QUORAVINT_DRAW=reference not acknowledged"
  ! grep -q QUORAVINT_DRAW "$WORK_DIR/fast-$profile.err" || fail "$profile: the default way mentions QUORAVINT_DRAW"
  frames=0
  for frame in "$WORK_DIR/fast-$profile"/frame-*.png; do
    cmp -s "$frame" "$WORK_DIR/reference-$profile/${frame##*/}" || fail "$profile: ${frame##*/} differs between the two ways"
    cmp -s "$frame" "$WORK_DIR/offscreen-$profile/${frame##*/}" || fail "$profile: ${frame##*/} differs off-screen"
    frames=$((frames + 1))
  done
  [ "$frames" -eq $((2 * SWITCH_MARGIN)) ] || fail "$profile: $frames frames compared, expected $((2 * SWITCH_MARGIN))"
  cmp -s "$WORK_DIR/fast-$profile.trace" "$WORK_DIR/reference-$profile.trace" || fail "$profile: the traces differ"
  cmp -s "$WORK_DIR/fast-$profile.trace" "$WORK_DIR/offscreen-$profile.trace" || fail "$profile: the trace differs off-screen"
  note "$profile: $frames frames across the switch and the whole trace identical both ways and off-screen through EGL"
done

QUORAVINT_DRAW=sideways capture_switch sideways sd
grep -q -F "QUORAVINT_DRAW=sideways is neither" "$WORK_DIR/sideways.err" || fail "an unknown value is not named"
note "an unknown QUORAVINT_DRAW is named and the capture goes on"

for ((round = 1; round <= EXIT_ROUNDS; round++)); do
  timeout -k 5 "$CAPTURE_LIMIT" env -u DISPLAY "$CAPTURE" --profile sd --length 1t --png -o "$WORK_DIR/exit-$round" \
    >/dev/null 2>"$WORK_DIR/exit.err" || fail "round $round: the off-screen capture ended with status $?"
done
note "the off-screen capture ended with status 0 $EXIT_ROUNDS times in a row"
