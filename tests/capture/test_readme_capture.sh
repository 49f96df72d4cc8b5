# The README's first capture command, exactly as printed there, twenty times in a row from the run
# folder of a machine without a screen: every run must succeed, as a newcomer's would.
source "$(dirname "$0")/../support/lib.sh" "$@"

README=$(dirname "$0")/../../README.md
RUNS=20        # enough that a failure one start in four cannot pass by chance
OUTPUT=try.mp4 # the output the command names

command=$(grep -m 1 -x -F -- "./demo-capture --length 2 -o try.mp4" "$README") || fail "the README has no short capture command"
cd "$RUN_DIR"
for ((run = 1; run <= RUNS; run++)); do
  rm -f "$OUTPUT"
  env -u DISPLAY bash -c "$command" >"$WORK_DIR/out" 2>"$WORK_DIR/err" ||
    fail "run $run of \`$command\` failed: $(tr '\r' '\n' <"$WORK_DIR/err" | tail -n 3)"
  [ -s "$OUTPUT" ] || fail "run $run wrote no $OUTPUT"
done
rm -f "$OUTPUT"
note "\`$command\` succeeded $RUNS times in a row"
