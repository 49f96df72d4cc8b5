# The launcher `quoravint` and the screensaver hack given every option and setting they read empty,
# garbage, huge and in conflicting pairs, outputs that are folders or read-only, and signals; and the
# hack's -root drawing on the root window itself, not a window of its own. Each row: a message naming
# the problem and the documented status (2 a bad command line, 1 cannot start), or the show going
# on in the window asked for (or its own, when the one named is not a window).
source "$(dirname "$0")/../../support/lib.sh" "$@"

PACKAGING=$(dirname "$0")/../../../packaging
NO_WINDOW=0x1fffff00   # a well-formed X id that names no window on a fresh display
SHOW_SIZE=1024x768     # demo's profile
MOUNTS=()
trap 'for m in "${MOUNTS[@]}"; do umount "$m" 2>/dev/null; done; cleanup' EXIT

FULL_SIZE=$(expected_window_size "$SHOW_SIZE")   # the window of demo's full-screen mode on this SDL
rows=0

# The installed layout in the work folder: the launcher in usr/games, the hack in
# usr/libexec/xscreensaver, the programs and the show's files those of the run folder.
prefix=$WORK_DIR/usr
mkdir -p "$prefix/games" "$prefix/libexec/xscreensaver" "$prefix/lib/games" "$prefix/share/games"
for script in quoravint quoravint-hack; do
  target=$prefix/games/quoravint
  [ "$script" = quoravint ] || target=$prefix/libexec/xscreensaver/quoravint
  sed -e 's|@PROJECT_VERSION@|0|' -e 's|@QUORAVINT_PROGRAM_DIR@|lib/games/quoravint|' \
    -e 's|@QUORAVINT_DATA_DIR@|share/games/quoravint|' "$PACKAGING/$script.in" >"$target"
  chmod +x "$target"
done
ln -s "$RUN_DIR" "$prefix/lib/games/quoravint"
ln -s "$RUN_DIR" "$prefix/share/games/quoravint"
LAUNCHER=$prefix/games/quoravint
HACK=$prefix/libexec/xscreensaver/quoravint

# Runs COMMAND... (with `env` settings first, if any) to its end; sets `status` and `said` (standard error).
run_to_end() {
  status=0
  said=$(cd "$WORK_DIR" && timeout -k 5 "$RUN_LIMIT" env "$@" 2>&1 >/dev/null) || status=$?
}

# --- Refused at once -------------------------------------------------------------------------------
mkdir "$WORK_DIR/a-folder"
# name | status | expected text | env settings and command (";" between words)
refused_rows=(
  "unknown|2|quoravint: unknown option '--bogus' (see --help)|$LAUNCHER;--bogus"
  "trace-missing|2|--trace needs a file|$LAUNCHER;--trace"
  "trace-empty|2|--trace needs a file|$LAUNCHER;--trace="
  "trace-folder|1|cannot write the trace to $WORK_DIR/a-folder|$LAUNCHER;--trace;a-folder"
  "window-empty|2|--window= needs a size WxH|$LAUNCHER;--window="
  "window-and-fit|2|--window and --fit ask for different screens: give one|$LAUNCHER;--window;--fit"
  "fit-and-window|2|--fit and --window ask for different screens: give one|$LAUNCHER;--fit;--window=800x600"
  "no-display|1|no X display|-u;DISPLAY;$LAUNCHER"
  "capture-garbage|2|bad start tick 'garbage'|$LAUNCHER;--capture;--start;garbage"
  "hack-unknown|2|quoravint: unknown option '-bogus'|$HACK;-bogus"
  "hack-id-missing|2|-window-id needs a window|$HACK;-window-id"
  "hack-id-empty|2|-window-id  is not a window id|$HACK;-window-id;"
  "hack-id-garbage|2|-window-id garbage is not a window id|$HACK;-window-id;garbage"
  "hack-id-negative|2|-window-id -5 is not a window id|$HACK;-window-id;-5"
  "hack-id-zero|2|-window-id 0x0 is not a window id|$HACK;-window-id;0x0"
)
for row in "${refused_rows[@]}"; do
  IFS='|' read -r name want text words <<<"$row"
  row_words "$words"
  run_to_end "${ROW_WORDS[@]}"
  [ "$status" -eq "$want" ] || fail "$name: status $status, expected $want: $said"
  grep -q -F -- "$text" <<<"$said" || fail "$name: said \"$said\", expected \"$text\""
  rows=$((rows + 1))
done
if mkdir -p "$WORK_DIR/read-only" && mount -t tmpfs -o size=64k,ro tmpfs "$WORK_DIR/read-only" 2>/dev/null; then
  MOUNTS+=("$WORK_DIR/read-only")
  run_to_end "$LAUNCHER" --trace read-only/trace.txt
  [ "$status" -eq 1 ] && grep -q -F "cannot write the trace to $WORK_DIR/read-only/trace.txt" <<<"$said" ||
    fail "trace-read-only: status $status, said \"$said\""
  rows=$((rows + 1))
else
  note "SKIPPED the read-only trace row: cannot mount a tmpfs here (not root?)"
fi
note "$rows rows refused at once, each named"
# The launcher's window options reach the capture too, which says it ignores them.
run_to_end "$LAUNCHER" --window --capture --png --length 1t -o window-capture
[ "$status" -eq 0 ] && grep -q -F "ignoring QUORAVINT_WINDOW=1024x576: the capture draws the profile's 1024x768 frame exactly" <<<"$said" ||
  fail "--window --capture: status $status, said \"$said\""
rows=$((rows + 1))

# --- The show goes on, in the window asked for or its own -----------------------------------------
# Starts COMMAND... as the program under test, waits for its window, and checks its size is SIZE and
# standard error holds TEXT ("-": nothing of the settings); then ends it with SIGNAL and STATUS.
goes_on() {
  local size=$1 text=$2 signal=$3 want=$4 window word program=""
  shift 4
  for word in "$@"; do [ -n "$program" ] || [[ $word == *=* ]] || program=$(basename "$word"); done
  start_command "$program" "$WORK_DIR" env "$@"
  window=$(find_show_window)
  local deadline=$((SECONDS + TRACE_WAIT))
  until [ "$(window_size "$window")" = "$size" ] || [ $SECONDS -ge $deadline ]; do sleep "$POLL"; done
  [ "$(window_size "$window")" = "$size" ] || fail "$*: a $(window_size "$window") window, expected $size"
  sleep "$STILL_RUNNING_WAIT"
  show_running || fail "$*: ended by itself"
  if [ "$text" = - ]; then
    ! grep -q -E 'QUORAVINT_|SDL_WINDOWID|XSCREENSAVER' "$SHOW_TRACE.stderr" || fail "$*: $(cat "$SHOW_TRACE.stderr")"
  else
    grep -q -F -- "$text" "$SHOW_TRACE.stderr" || fail "$*: standard error lacks \"$text\": $(cat "$SHOW_TRACE.stderr")"
  fi
  kill -"$signal" "$(program_pid)"
  expect_exit "$want"
  rows=$((rows + 1))
}

goes_on 800x600 - TERM 0 "$LAUNCHER" --window=800x600
goes_on "$FULL_SIZE" "QUORAVINT_WINDOW=garbage is not a window size" TERM 0 "$LAUNCHER" --window=garbage
goes_on "$FULL_SIZE" "QUORAVINT_WINDOW=99999999999999999999x1 is not a window size" INT 0 "$LAUNCHER" --window=99999999999999999999x1
goes_on 640x480 - HUP 129 "$LAUNCHER" --window=640x480
goes_on "$FULL_SIZE" "XSCREENSAVER_WINDOW=garbage is not a window id: ignoring it" TERM 0 XSCREENSAVER_WINDOW=garbage "$HACK"
goes_on "$FULL_SIZE" "SDL_WINDOWID=$NO_WINDOW is no window on the display: ignoring it" TERM 0 "$HACK" -window-id "$NO_WINDOW"
goes_on "$FULL_SIZE" - TERM 0 SDL_WINDOWID=garbage "$HACK" -window
if mkdir -p "$WORK_DIR/full" && mount -t tmpfs -o size=64k tmpfs "$WORK_DIR/full" 2>/dev/null; then
  MOUNTS+=("$WORK_DIR/full")
  goes_on "$FULL_SIZE" - TERM 0 "$LAUNCHER" --trace full/trace.txt   # the trace fills it at once
  [ "$(stat -c %s "$WORK_DIR/full/trace.txt")" -gt 0 ] || fail "trace-full: no trace written"
else
  note "SKIPPED the full trace row: cannot mount a tmpfs here (not root?)"
fi
note "bad windows and sizes named, the show going on in a window of its own; SIGTERM 0, SIGHUP 129"

# --- -root draws on the root window itself -------------------------------------------------------
before=$(top_window_count)
start_command quoravint-hack "$WORK_DIR" "$HACK" -root
sleep "$STILL_RUNNING_WAIT"
expect_drawn_on_root "$before"
kill -TERM "$(program_pid)"
expect_exit 0
rows=$((rows + 1))
note "-root drew the frame fitted on the root window, no window of its own; SIGTERM ended it with 0"
note "$rows rows in all"
