# Shared helpers of the program tests: start a show program, wait for its trace,
# find its window, send keys, take screenshots, stop it, clean up.
#
# A test script sources this file and is run as `bash test_x.sh <run dir> <build dir>`.
# The show writes megabytes of trace per second, so its standard output always goes to
# a file in the test's own temporary folder, never to a pipe that could fill and block it.

set -u

RUN_DIR=$(cd "${1:?usage: $0 <run dir> <build dir>}" && pwd)
BUILD_DIR=${2:-}
WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/quoravint-test.XXXXXX")

PROGRAMS=(demo demo-hd)   # both deliverables are tested alike
# The SDL 1.2 under the programs: classic SDL, or sdl12-compat (SDL 1.2 built on SDL 2), which
# the sdl12-compat run names here. Under a window manager sdl12-compat shows a full-screen mode
# on a window as large as the screen, the picture scaled up with its aspect kept.
TEST_SDL=${TEST_SDL:-classic}
RUN_LIMIT=120             # s a started program may live at most, even if this script is killed
START_WAIT=60             # s allowed for start-up: loading every texture and sound on a busy machine
TRACE_WAIT=20             # s allowed for an expected trace text once the show runs
EXIT_WAIT=15              # s allowed for the program to end after being told to
STOP_WAIT=5               # s between asking a program to end and killing it
STILL_RUNNING_WAIT=2      # s a program must survive input that must not end it
POLL=0.1                  # s between two looks at a trace file or a process
DISPLAY_HOLD=600          # s the display stays held at most: longer than any test may run
DISPLAY_ATTEMPTS=20       # tries to connect to the X server, which may be resetting just then

SHOW_PID=""      # the watchdog `timeout` that runs the program; it passes on signals and the exit status
SHOW_NAME=""     # the program being run
SHOW_TRACE=""    # the file that receives the program's standard output
SHOW_STATUS=""   # the exit status, once the program has ended
STARTS=0         # programs started so far, to name their trace files
HELD_KEY=""      # a key held down by hold_key, released again at the latest when the script ends
DISPLAY_HOLDER="" # an idle X client that keeps the display from resetting while the script runs

# Releases a held key, stops a program still running and removes the temporary folder; runs when the script ends.
cleanup() {
  [ -z "$HELD_KEY" ] || xdotool keyup "$HELD_KEY" 2>/dev/null
  stop_show
  [ -z "$DISPLAY_HOLDER" ] || kill "$DISPLAY_HOLDER" 2>/dev/null
  rm -rf "$WORK_DIR"
}
trap cleanup EXIT

# Keeps one connection to the X server open while the script runs. An X server resets when
# its last client leaves, and a program that connects during the reset cannot open the display.
keep_display_open() {
  [ -n "${DISPLAY:-}" ] && [ -z "$DISPLAY_HOLDER" ] || return 0   # a second holder would outlive the script
  local attempt
  for ((attempt = 0; attempt < DISPLAY_ATTEMPTS; attempt++)); do
    xdotool sleep "$DISPLAY_HOLD" >/dev/null 2>&1 &
    DISPLAY_HOLDER=$!
    sleep "$POLL"
    kill -0 "$DISPLAY_HOLDER" 2>/dev/null && xdpyinfo >/dev/null 2>&1 && return 0
    kill "$DISPLAY_HOLDER" 2>/dev/null
    DISPLAY_HOLDER=""
    sleep "$POLL"
  done
  echo "FAIL: cannot connect to the X display $DISPLAY" >&2
  exit 1
}

# The mean volume of the sound of FILE (a video or a WAV) in dBFS.
mean_volume() {
  ffmpeg -hide_banner -nostdin -i "$1" -vn -af volumedetect -f null - 2>&1 | awk '/mean_volume/ {print $(NF - 1)}'
}

# Whether mean volume DB (dBFS) is well above silence: what sound with the song in it reaches.
above_silence() {
  local silence_db=-50   # a second of the song measures -12 to -22 dB, digital silence -91
  awk -v v="$1" -v quiet="$silence_db" 'BEGIN { exit !(v > quiet) }'
}

# Reports a failed expectation with the end of the trace, and ends the test with status 1.
fail() {
  echo "FAIL [${SHOW_NAME:-no program}]: $*" >&2
  if [ -n "$SHOW_TRACE" ] && [ -s "$SHOW_TRACE" ]; then
    echo "--- last bytes of the trace ($(stat -c %s "$SHOW_TRACE") bytes in all):" >&2
    tail -c 600 "$SHOW_TRACE" >&2
    echo >&2
  fi
  exit 1
}

# Writes a progress line of the test.
note() {
  echo "[${SHOW_NAME:-test}] $*"
}

# Splits a table row's words, written "a;b;c" (a last ";" stands for a last empty word), into ROW_WORDS.
row_words() {
  IFS=';' read -r -a ROW_WORDS <<<"$1"
  [[ $1 != *";" ]] || ROW_WORDS+=("")
}

# The screen size of a program's profile, as WIDTHxHEIGHT.
profile_size() {
  case "$1" in
    demo) echo 1024x768 ;;
    demo-hd) echo 1920x1080 ;;
    *) fail "no profile known for program $1" ;;
  esac
}

# Starts PROGRAM of the run folder with DIR (default: the run folder) as its working directory.
# Extra arguments are `env` settings for it, e.g. -u DISPLAY.
start_show() {
  local program=$1 dir=${2:-$RUN_DIR}
  shift 2 || shift $#
  [ -x "$RUN_DIR/$program" ] || fail "$RUN_DIR/$program is not built"
  start_command "$program" "$dir" env "$@" "$RUN_DIR/$program"
}

# Starts COMMAND [ARGS...], called NAME in the test's messages, in folder DIR as the program
# under test: its standard output is the trace, and the helpers below watch, steer and stop it.
start_command() {
  SHOW_NAME=$1
  local dir=$2
  shift 2
  STARTS=$((STARTS + 1))
  SHOW_TRACE=$WORK_DIR/$STARTS-$SHOW_NAME.trace
  SHOW_STATUS=""
  # timeout resets SIGINT to its default for the program (a background job of a script
  # would otherwise start with it ignored, and SDL only catches SIGINT when it is not ignored),
  # forwards SIGINT and SIGTERM to it, and kills it should this script die without cleaning up.
  (cd "$dir" && exec timeout -k "$STOP_WAIT" "$RUN_LIMIT" "$@") \
    >"$SHOW_TRACE" 2>"$SHOW_TRACE.stderr" </dev/null &
  SHOW_PID=$!
  note "started in $dir"
}

# Whether the started program is still running.
show_running() {
  [ -n "$SHOW_PID" ] && [ -z "$SHOW_STATUS" ] && kill -0 "$SHOW_PID" 2>/dev/null
}

# The process id of the program itself (the child of its watchdog).
program_pid() {
  local pid deadline=$((SECONDS + TRACE_WAIT))
  while [ $SECONDS -lt $deadline ]; do
    pid=$(pgrep -P "$SHOW_PID" | head -n 1)
    [ -n "$pid" ] && { echo "$pid"; return 0; }
    sleep "$POLL"
  done
  fail "the program's process did not appear"
}

# Records the exit status of a program that has ended.
collect_status() {
  wait "$SHOW_PID"
  SHOW_STATUS=$?
}

# Waits until TEXT appears in the trace, within SECONDS (default TRACE_WAIT); fails if the
# program ends first or the time runs out.
wait_for_trace() {
  local text=$1 deadline=$((SECONDS + ${2:-$TRACE_WAIT}))
  while ! grep -q -F -m 1 -- "$text" "$SHOW_TRACE"; do
    if ! show_running; then
      grep -q -F -m 1 -- "$text" "$SHOW_TRACE" && return 0
      collect_status
      fail "ended with status $SHOW_STATUS before writing \"$text\""
    fi
    [ $SECONDS -lt $deadline ] || fail "\"$text\" not written within ${2:-$TRACE_WAIT} s"
    sleep "$POLL"
  done
}

# Waits until TEXT has been written on at least COUNT lines of the trace, within TRACE_WAIT.
wait_for_lines_with() {
  local text=$1 count=$2 deadline=$((SECONDS + TRACE_WAIT))
  while [ "$(grep -c -F -m "$count" -- "$text" "$SHOW_TRACE")" -lt "$count" ]; do
    show_running || fail "ended before writing \"$text\" $count times"
    [ $SECONDS -lt $deadline ] || fail "\"$text\" not written $count times within $TRACE_WAIT s"
    sleep "$POLL"
  done
}

# Waits for the start-up to finish and the main loop to run.
wait_for_show() {
  wait_for_trace "Init complete." "$START_WAIT"
  wait_for_trace "logic "
}

# Waits until the program ends (within EXIT_WAIT) and fails unless its status is EXPECTED.
expect_exit() {
  local expected=$1 deadline=$((SECONDS + EXIT_WAIT))
  while kill -0 "$SHOW_PID" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "still running ${EXIT_WAIT} s after it should have ended"
    sleep "$POLL"
  done
  collect_status
  [ "$SHOW_STATUS" = "$expected" ] || fail "exit status $SHOW_STATUS, expected $expected"
  note "ended with status $SHOW_STATUS"
}

# Fails unless the program is still running STILL_RUNNING_WAIT seconds from now and its trace grows.
expect_still_running() {
  local size_before
  size_before=$(stat -c %s "$SHOW_TRACE")
  sleep "$STILL_RUNNING_WAIT"
  show_running || { collect_status; fail "ended with status $SHOW_STATUS, should still run"; }
  [ "$(stat -c %s "$SHOW_TRACE")" -gt "$size_before" ] || fail "still running but its trace stopped growing"
  note "still running"
}

# Fails unless the trace contains TEXT.
expect_in_trace() {
  grep -q -F -m 1 -- "$1" "$SHOW_TRACE" || fail "trace lacks \"$1\""
}

# Fails if the trace contains TEXT.
expect_not_in_trace() {
  ! grep -q -F -m 1 -- "$1" "$SHOW_TRACE" || fail "trace should not contain \"$1\""
}

# The id of the show's window, found by its caption "Quoravint".
find_show_window() {
  local window deadline=$((SECONDS + TRACE_WAIT))
  while [ $SECONDS -lt $deadline ]; do
    window=$(xdotool search --name '^Quoravint$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && { echo "$window"; return 0; }
    show_running || fail "ended before its window appeared"
    sleep "$POLL"
  done
  fail "no window named Quoravint within $TRACE_WAIT s"
}

# The size of WINDOW as WIDTHxHEIGHT.
window_size() {
  xwininfo -id "$1" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w "x" h}'
}

# The size of the X screen as WIDTHxHEIGHT.
screen_size() {
  xwininfo -root | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w "x" h}'
}

# Presses and releases each named key (xdotool key names) in turn.
press_keys() {
  xdotool key --delay 30 "$@" || fail "xdotool could not send $*"
}

# Holds KEY down until release_key; the X server passes on a key release only for a key that is down.
hold_key() {
  xdotool keydown "$1" || fail "xdotool could not press $1"
  HELD_KEY=$1
}

# Releases the key hold_key holds down.
release_key() {
  xdotool keyup "$HELD_KEY" || fail "xdotool could not release $HELD_KEY"
  HELD_KEY=""
}

# Sends the keys while the program is paused, so they wait together in its event queue.
queue_keys() {
  local pid
  pid=$(program_pid)
  kill -STOP "$pid"
  xdotool key --delay 30 "$@"
  local sent=$?
  kill -CONT "$pid"
  [ $sent -eq 0 ] || fail "xdotool could not send $*"
}

# Sends the quit request: SIGINT, which SDL turns into its quit event.
request_quit() {
  kill -INT "$(program_pid)"
}

# Whether the SDL under the programs scales a full-screen mode up to the whole screen.
sdl_scales_to_screen() {
  [ "$TEST_SDL" = sdl12-compat ]
}

# The size of the window the show opens for a full-screen mode of SIZE (WIDTHxHEIGHT).
expected_window_size() {
  if sdl_scales_to_screen; then screen_size; else echo "$1"; fi
}

# The area of the screen, WIDTHxHEIGHT+X+Y, that shows a full-screen mode of SIZE: centred,
# at its own size or scaled up to the screen with its aspect kept.
picture_area() {
  local screen w h sw sh
  screen=$(screen_size)
  w=${1%x*} h=${1#*x} sw=${screen%x*} sh=${screen#*x}
  if sdl_scales_to_screen; then
    if ((sw * h < sh * w)); then h=$((h * sw / w)) w=$sw; else w=$((w * sh / h)) h=$sh; fi
  fi
  echo "${w}x${h}+$(((sw - w) / 2))+$(((sh - h) / 2))"
}

# Writes to FILE a screenshot of the picture of a full-screen mode of SIZE, at that size.
screenshot() {
  local file=$1 size=$2
  import -window root "$WORK_DIR/screen.png" || fail "import could not take a screenshot"
  convert "$WORK_DIR/screen.png" -crop "$(picture_area "$size")" +repage -resize "$size!" "$file" \
    || fail "convert could not crop the screenshot"
}

# The size of an image file as WIDTHxHEIGHT.
image_size() {
  identify -format '%wx%h' "$1"
}

# The brightest channel value of an image file, 0 to 255.
image_maximum() {
  convert "$1" -format '%[fx:int(255 * maxima)]' info:
}

# The number of windows on the screen (the root window's children).
top_window_count() {
  xwininfo -root -children | grep -c '^ *0x'
}

# Fails unless the running screensaver hack draws demo's frame on the root window itself, the screen
# having held BEFORE windows (top_window_count) when it started: a hack that fell back to a window of
# its own would add a window named Quoravint, and its 1024 x 768 full-screen mode would leave black
# the strips of the root, either side, that the frame fitted to the screen's height lights.
expect_drawn_on_root() {
  local before=$1 screen sw sh fw strip lit shot=$WORK_DIR/root-$STARTS.png
  sleep "$STILL_RUNNING_WAIT"
  show_running || { collect_status; fail "-root: ended with status $SHOW_STATUS: $(cat "$SHOW_TRACE.stderr")"; }
  [ -z "$(xdotool search --name '^Quoravint$' 2>/dev/null)" ] || fail "-root: the hack opened a window of its own"
  [ "$(top_window_count)" -eq "$before" ] || fail "-root: a new window appeared on the screen"
  screen=$(screen_size)
  sw=${screen%x*} sh=${screen#*x}
  fw=$((sh * 4 / 3))   # demo's 4:3 frame fitted to the screen's height
  import -window root "$shot" || fail "import could not take a screenshot"
  for strip in "$(((sw - fw) / 2 + 8))" "$(((sw + fw) / 2 - 48))"; do   # inside the frame, outside a 1024 x 768 mode
    lit=$(convert "$shot" -crop "40x${sh}+${strip}+0" +repage -format '%[fx:int(255 * maxima)]' info:)
    [ "$lit" -gt 0 ] || fail "-root: the fitted frame's strip at x=$strip is black ($shot): not drawn on the root"
  done
}

# Makes a copy of the run folder in the temporary folder, with links to its assets
# except the names given, and prints its path.
run_folder_without() {
  local copy=$WORK_DIR/run-$((STARTS + 1)) entry name skip
  mkdir -p "$copy"
  for entry in gfx sfx names.txt; do
    skip=""
    for name in "$@"; do [ "$name" = "$entry" ] && skip=yes; done
    [ -n "$skip" ] || [ ! -e "$RUN_DIR/$entry" ] || ln -s "$RUN_DIR/$entry" "$copy/$entry"
  done
  echo "$copy"
}

# Ends the started program if it still runs: politely first, then by force.
stop_show() {
  show_running || return 0
  kill -TERM "$SHOW_PID" 2>/dev/null
  local deadline=$((SECONDS + STOP_WAIT))
  while kill -0 "$SHOW_PID" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep "$POLL"; done
  if kill -0 "$SHOW_PID" 2>/dev/null; then
    local pid
    for pid in $(pgrep -P "$SHOW_PID"); do kill -KILL "$pid" 2>/dev/null; done
    kill -KILL "$SHOW_PID" 2>/dev/null
  fi
  wait "$SHOW_PID" 2>/dev/null
  SHOW_STATUS="stopped"
}

keep_display_open
