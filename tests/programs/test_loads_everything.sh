#!/usr/bin/env bash
# `demo`, started from its run folder, loads every sprite, the font image, the three effects
# and the song without an error line, runs, and ends with status 0 when interrupted (SDL turns
# SIGINT into a quit request).
# Usage: bash test_loads_everything.sh <run folder> <build folder>
set -u

run_dir=${1:?run folder}
startup_limit=60   # seconds the show may take to start under a loaded machine
stop_limit=20      # seconds it may take to end once interrupted

# Without a display of its own, the test starts one.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$@"
fi

cd "$run_dir" || exit 1
trace=$(mktemp /tmp/quoravint-trace-XXXXXX)
trap 'rm -f "$trace"' EXIT

# Prints a failure and ends the test.
fail() {
  echo "FAIL: $*"
  exit 1
}

timeout -s KILL $((startup_limit + stop_limit + 10)) ./demo >"$trace" 2>&1 &
show=$!

# Waits until the start-up sequence is over.
for _ in $(seq $((startup_limit * 2))); do
  grep -q "Init complete." "$trace" && break
  kill -0 "$show" 2>/dev/null || break
  sleep 0.5
done
grep -q "Init complete." "$trace" || { kill -KILL "$show" 2>/dev/null; fail "the show did not finish its start-up"; }
sleep 2   # let the main loop run a while

kill -INT "$show"
wait "$show"
status=$?
[ "$status" -eq 0 ] || fail "the show ended with status $status after SIGINT"

for error in "Error loading" "ERROR LOADING SOUND" "SONG LOAD FAIL" "Invalid image." "AUDIO ERROR" "MUSIC ERROR"; do
  line=$(grep -m1 -F "$error" "$trace") && fail "error line in the trace: $line"
done

# Every sprite path in index order, each ending a line (the first one follows the
# unterminated trace of the scenes' construction).
expected_paths="gfx/sockwalk.png gfx/sockyell0.png gfx/sockyell1.png gfx/block.png gfx/pipe.png gfx/dome.png
gfx/cloud0.png gfx/cloud1.png gfx/sky0.png gfx/sky1.png gfx/sky2.png gfx/shrub0.png gfx/shrub1.png gfx/shrub2.png
gfx/textdot.png gfx/cereal0.png gfx/cereal1.png gfx/cereal2.png gfx/cereal3.png gfx/cereal4.png gfx/cereal5.png
gfx/cereal6.png gfx/cereal7.png gfx/cereal8.png gfx/grass.png gfx/ground0.png gfx/ground1.png gfx/ground2.png
gfx/stone0.png gfx/stone1.png gfx/stone2.png gfx/domefloor.png gfx/bowl.png gfx/spoon.png gfx/spoon.png
gfx/fridge-open.png gfx/fridge-closed.png gfx/table.png"
traced_paths=$(grep -oE 'gfx/[a-z0-9-]+\.png$' "$trace" | tr '\n' ' ')
[ "$traced_paths" = "$(echo $expected_paths) " ] || fail "sprite paths traced: $traced_paths"

for loaded in "LOADED SOUND: sfx/future.ogg" "LOADED SOUND: sfx/AUAUAUAHAHAH.ogg" "LOADED SOUND: sfx/VLERVELER.ogg" \
              "LOADED SONG" "PLAYING SONG"; do
  grep -q -F "$loaded" "$trace" || fail "missing from the trace: $loaded"
done

echo "PASS: demo loaded everything and ended with status 0"
