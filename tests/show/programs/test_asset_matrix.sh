# Missing and damaged assets: for each of the 43 files demo reads, first missing, then replaced
# by garbage, then cut to half its length, demo starts in a copy of the run folder, writes the
# message of that file's kind, keeps running and ends with status 0 on the quit request.
# Without names.txt it writes its message and ends with status 1; damaged names only make odd names.
# A sound cut in half may still decode in part (Ogg pages and XM patterns before the cut), so a
# truncated sound must give either its failure message or its loaded message.
#
# The cases run in two lanes at once, each lane on an X display of its own (a full-screen SDL
# program waits for the pointer grab, so two cannot share one). QUORAVINT_ASSET_MATRIX=quick
# runs one file of every kind instead of all 43.
#
# Usage: bash test_asset_matrix.sh <run dir> <build dir>

source "$(dirname "${BASH_SOURCE[0]}")/../../support/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib.sh" test_asset_matrix

LANES=2                        # demos running at once: one per core of the test machine
STILL_RUNNING_WAIT=1           # s each damaged show must keep running (lib.sh waits 2 s by default)
GARBAGE_BYTES=4096             # size of the garbage that replaces a file
GARBAGE_SEED=4242              # the garbage is the same in every run
XVFB_SCREEN=$(xvfb_args "$(profile_size demo)")   # demo's own mode

DAMAGES=(missing garbage truncated)

# Every file the program reads, once each, as the asset generator lists them, written as
# "file|the message its absence or damage gives|the message that may replace it when the
# file is truncated".
all_files() {
  local file
  "$BUILD_DIR/assetgen/assetgen" --list | awk '!seen[$0]++' | while IFS= read -r file; do
    case $file in
      gfx/font5.png) echo "$file|Invalid image.|" ;;
      gfx/*.png) echo "$file|Error loading $file  |" ;;
      sfx/*.ogg) echo "$file|ERROR LOADING SOUND: $file|LOADED SOUND: $file" ;;
      sfx/*.xm) echo "$file|SONG LOAD FAIL|LOADED SONG" ;;
      names.txt) echo "$file||" ;;
      *) echo "$file|unknown kind of file|" ;;
    esac
  done
}

# One file of every kind: the first, a shared and the last sprite, the font, an effect, the song, the names.
quick_files() {
  all_files | grep -E '^(gfx/(sockwalk|spoon|table|font5)\.png|sfx/VLERVELER\.ogg|sfx/towers\.xm|names\.txt)\|'
}

# Writes the matrix's garbage, the same bytes in every run, to FILE.
write_garbage() {
  local i hex
  RANDOM=$GARBAGE_SEED
  for ((i = 0; i < GARBAGE_BYTES; i++)); do printf -v hex %02x $((RANDOM % 256)); printf "\\x$hex"; done >"$1"
}

# Makes a copy of the run folder with FILE missing, garbage or truncated, and prints its path.
damaged_copy() {
  local file=$1 damage=$2 copy
  copy=$(mktemp -d "$WORK_DIR/run.XXXXXX")
  cp -r "$RUN_DIR/gfx" "$RUN_DIR/sfx" "$RUN_DIR/names.txt" "$copy/"
  rm -f "$copy/$file"
  case $damage in
    garbage) cp "$WORK_DIR/garbage" "$copy/$file" ;;
    truncated) head -c $(($(stat -c %s "$RUN_DIR/$file") / 2)) "$RUN_DIR/$file" >"$copy/$file" ;;
  esac
  echo "$copy"
}

# Fails unless the trace holds MESSAGE or, when given, PARTIAL instead; prints which it held.
expect_message() {
  local message=$1 partial=$2
  if [ -n "$partial" ] && grep -q -F -m 1 -- "$partial" "$SHOW_TRACE"; then
    echo "loaded in part"
  elif [ -n "$message" ]; then
    expect_in_trace "$message"
    echo "reported"
  else
    echo "ran"
  fi
}

# Runs demo with FILE damaged as DAMAGE and checks it writes MESSAGE (or PARTIAL, for a
# truncated file) and ends as it must.
run_case() {
  local file=$1 message=$2 partial=$3 damage=$4 copy outcome="exited"
  copy=$(damaged_copy "$file" "$damage")
  [ "$damage" = truncated ] || partial=""
  start_show demo "$copy"
  if [ "$file" = names.txt ] && [ "$damage" = missing ]; then
    expect_exit 1
    expect_in_trace "Error opening names.txt."
  else
    wait_for_show
    outcome=$(expect_message "$message" "$partial") || exit 1
    expect_still_running
    request_quit
    expect_exit 0
  fi
  rm -rf "$copy" "$SHOW_TRACE" "$SHOW_TRACE.stderr"
  note "$file $damage: passed, $outcome"
}

# Runs every LANES-th case from number LANE on, under this lane's own display; fails if any case failed.
run_lane() {
  local lane=$1 number=0 failures=0 entry damage file message partial
  write_garbage "$WORK_DIR/garbage"
  while IFS= read -r entry; do
    for damage in "${DAMAGES[@]}"; do
      if [ $((number % LANES)) -eq "$lane" ]; then
        # A failing case ends its own subshell only; its program is stopped and the lane goes on.
        IFS='|' read -r file message partial <<<"$entry"
        (trap stop_show EXIT; run_case "$file" "$message" "$partial" "$damage") || failures=$((failures + 1))
      fi
      number=$((number + 1))
    done
  done < <(if [ "${QUORAVINT_ASSET_MATRIX:-full}" = quick ]; then quick_files; else all_files; fi)
  [ "$failures" -eq 0 ]
}

if [ -n "${ASSET_MATRIX_LANE:-}" ]; then
  run_lane "$ASSET_MATRIX_LANE"
  exit
fi

# Starts every lane under a display of its own and fails if any lane failed.
first_display=$((200 + RANDOM % 700))   # lanes look for free displays apart from other test runs
for ((lane = 0; lane < LANES; lane++)); do
  ASSET_MATRIX_LANE=$lane xvfb-run -n $((first_display + 50 * lane)) -a -s "$XVFB_SCREEN" \
    bash "${BASH_SOURCE[0]}" "$RUN_DIR" "$BUILD_DIR" >"$WORK_DIR/lane-$lane.log" 2>&1 &
  lane_pids[lane]=$!
done
status=0
for ((lane = 0; lane < LANES; lane++)); do
  wait "${lane_pids[lane]}" || status=1
  cat "$WORK_DIR/lane-$lane.log"
done
echo "asset matrix (${QUORAVINT_ASSET_MATRIX:-full}): $(cat "$WORK_DIR"/lane-*.log | grep -c ': passed, ') cases passed in $SECONDS s"
exit $status
