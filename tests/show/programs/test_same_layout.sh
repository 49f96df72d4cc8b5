# Two runs of a program build the same scenes: the trace written before "Init complete."
# (the construction of both planets, then the loading of pictures, sounds and names) is the same.
source "$(dirname "$0")/../../support/lib.sh" "$@"

# The start-up trace of the last run: everything before "Init complete.", without lines that
# depend on the moment of the run (none are known today; the clock's lines come only later).
startup_trace() {
  awk '/Init complete\./ {exit} {print}' "$SHOW_TRACE" | grep -v -e '^CT: '
}

for program in "${PROGRAMS[@]}"; do
  for run in 1 2; do
    start_show "$program"
    wait_for_show
    find_show_window >/dev/null
    press_keys Escape
    expect_exit 0
    startup_trace >"$WORK_DIR/$program-$run.startup"
  done
  [ "$(grep -o -F "SOCK INIT" "$WORK_DIR/$program-1.startup" | wc -l)" -ge 40 ] || fail "the construction trace is missing"
  diff -q "$WORK_DIR/$program-1.startup" "$WORK_DIR/$program-2.startup" >/dev/null \
    || fail "the two start-up traces differ: $(diff "$WORK_DIR/$program-1.startup" "$WORK_DIR/$program-2.startup" | head -c 400)"
  note "two runs wrote the same $(wc -c <"$WORK_DIR/$program-1.startup")-byte start-up trace"
done
