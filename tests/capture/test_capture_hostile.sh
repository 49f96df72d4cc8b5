# demo-capture given every option and setting it reads empty, garbage, negative, huge and in
# conflicting pairs; outputs that exist, are folders, hold the user's files, are read-only, sit on
# a full file system or vanish mid-run; SIGINT, SIGTERM and SIGHUP at start-up and mid-capture.
# Each row: one line naming the problem and the documented status (2 a bad command line, 1 a
# capture that cannot be made, 128 + N a capture stopped by signal N), never 0 over a short or
# corrupt file, and nothing of the user's overwritten or deleted.
source "$(dirname "$0")/../support/lib.sh" "$@"

CAPTURE=$RUN_DIR/demo-capture
CAPTURE_LIMIT=200   # s one capture may take on a busy machine before it counts as hung
SMALL_FS=600k       # a tmpfs that holds a few frames and no video
SPARE=$WORK_DIR/user-file   # stands for a file of the user's: it must come out of every row as it went in
MOUNTS=()
trap 'for m in "${MOUNTS[@]}"; do umount "$m" 2>/dev/null; done; cleanup' EXIT

SHOW_NAME=demo-capture
rows=0
echo "the user's own words" >"$SPARE"

# Runs the capture with ARGS (after `env` settings, if any) into NAME.err; sets `status`.
run() {
  local name=$1
  shift
  (cd "$WORK_DIR" && timeout -k 5 "$CAPTURE_LIMIT" env "$@") >/dev/null 2>"$WORK_DIR/$name.err"
  status=$?
}

# Fails unless the last run named NAME ended with STATUS and its standard error holds TEXT.
expect() {
  local name=$1 want=$2 text=$3
  [ "$status" -eq "$want" ] || fail "$name: status $status, expected $want: $(tr '\r' '\n' <"$WORK_DIR/$name.err" | tail -n 3)"
  grep -q -F -- "$text" "$WORK_DIR/$name.err" || fail "$name: said \"$(tr '\r' '\n' <"$WORK_DIR/$name.err" | tail -n 2)\", expected \"$text\""
  rows=$((rows + 1))
}

# Mounts a tmpfs of SIZE with OPTIONS on a new folder NAME in the work folder; false if it cannot.
mount_small() {
  mkdir -p "$WORK_DIR/$1"
  mount -t tmpfs -o "size=$2${3:+,$3}" tmpfs "$WORK_DIR/$1" 2>/dev/null || return 1
  MOUNTS+=("$WORK_DIR/$1")
}

# --- Options and settings: refused with status 2 or 1, one line each ------------------------------
# name | status | expected text | env settings and arguments after the program (";" between words)
C="$CAPTURE;--data;$RUN_DIR"   # the capture, from the work folder, with the show's folder named
option_rows=(
  "start-empty|2|bad start tick ''|$C;--start;"
  "start-garbage|2|bad start tick 'garbage': give a whole number of ticks from 0 to 1000000|$C;--start;garbage"
  "start-negative|2|bad start tick '-5'|$C;--start;-5"
  "start-huge|2|bad start tick '99999999999999999999999'|$C;--start;99999999999999999999999"
  "start-beyond|2|bad start tick '1000001'|$C;--start=1000001"
  "start-missing|2|option --start needs a value|$C;--start"
  "length-empty|2|bad length ''|$C;--length="
  "length-garbage|2|bad length 'garbage'|$C;--length;garbage"
  "length-negative|2|bad length '-5'|$C;--length;-5"
  "length-zero|2|bad length '0t'|$C;--length;0t"
  "length-huge-ticks|2|bad length '99999999999999999999999t'|$C;--length;99999999999999999999999t"
  "length-huge-seconds|2|bad length '1e300'|$C;--length;1e300"
  "seed-empty|2|bad seed ''|$C;--seed="
  "seed-garbage|2|bad seed 'garbage'|$C;--seed;garbage"
  "seed-negative|2|bad seed '-1'|$C;--seed;-1"
  "seed-huge|2|bad seed '4294967296'|$C;--seed;4294967296"
  "output-empty|2|an empty -o value|$C;-o;"
  "profile-garbage|2|unknown profile 'garbage'|$C;--profile;garbage"
  "data-empty|2|an empty --data value|$CAPTURE;--data;"
  "data-garbage|1|cannot use garbage as the show's folder: No such file or directory|$CAPTURE;--data;garbage"
  "trace-empty|2|an empty --trace value|$C;--trace="
  "trace-folder|1|cannot write the trace to /: Is a directory|$C;--trace;/;--png;-o;trace-folder"
  "egl-garbage|1|QUORAVINT_EGL_DEVICE=garbage is not an EGL device number from 0 to 15|QUORAVINT_EGL_DEVICE=garbage;$C;--offscreen;--png;--length;1t;-o;egl-garbage"
  "egl-negative|1|QUORAVINT_EGL_DEVICE=-1 is not an EGL device number|QUORAVINT_EGL_DEVICE=-1;$C;--offscreen;--png;--length;1t;-o;egl-negative"
  "egl-huge|1|there is no EGL device 99999999999999999999 (QUORAVINT_EGL_DEVICE is from 0 to 15)|QUORAVINT_EGL_DEVICE=99999999999999999999;$C;--offscreen;--png;--length;1t;-o;egl-huge"
)
for row in "${option_rows[@]}"; do
  IFS='|' read -r name want text words <<<"$row"
  row_words "$words"
  run "$name" "${ROW_WORDS[@]}"
  expect "$name" "$want" "$text"
  [ "$(tr '\r' '\n' <"$WORK_DIR/$name.err" | grep -c .)" -le 2 ] || fail "$name: more than a line or two: $(cat "$WORK_DIR/$name.err")"
done
note "$rows rows of bad options and settings refused, each named"

# --- Screen settings: ignored, said once, the frame the profile's exactly ---------------------------
run plain "$CAPTURE" --data "$RUN_DIR" --png --start 3000 --length 1t -o plain
expect plain 0 "frames"
for setting in QUORAVINT_WINDOW=800x600 QUORAVINT_FIT=1 SDL_WINDOWID=garbage "QUORAVINT_WINDOW=garbage QUORAVINT_FIT=1"; do
  name=screen-$(echo "$setting" | tr ' =' '__')
  # shellcheck disable=SC2086   # the settings are words
  run "$name" $setting "$CAPTURE" --data "$RUN_DIR" --png --start 3000 --length 1t -o "$name"
  expect "$name" 0 "ignoring ${setting// /, }: the capture draws the profile's 1024x768 frame exactly"
  [ "$(grep -c ignoring "$WORK_DIR/$name.err")" -eq 1 ] || fail "$name: said more than once"
  cmp -s "$WORK_DIR/plain/frame-000000.png" "$WORK_DIR/$name/frame-000000.png" ||
    fail "$setting: the frame differs from the plain capture's"
done
note "window settings in the environment are ignored, said once, and the frame is the plain capture's"

# --- Outputs ---------------------------------------------------------------------------------------
mkdir "$WORK_DIR/a-folder"
run video-folder "$CAPTURE" --data "$RUN_DIR" --length 1t -o a-folder
expect video-folder 1 "cannot write a-folder: Is a directory"
cp "$SPARE" "$WORK_DIR/a-file"
run png-file "$CAPTURE" --data "$RUN_DIR" --png --length 1t -o a-file
expect png-file 1 "cannot make the frame folder a-file"
cmp -s "$SPARE" "$WORK_DIR/a-file" || fail "png-file: the user's file changed"
mkdir "$WORK_DIR/pictures" && cp "$SPARE" "$WORK_DIR/pictures/audio.mp3"
run user-folder "$CAPTURE" --data "$RUN_DIR" --png --length 1t -o pictures
expect user-folder 1 "the frame folder pictures holds other files than frames (audio.mp3)"
[ "$(ls "$WORK_DIR/pictures")" = audio.mp3 ] || fail "user-folder: wrote into the user's folder: $(ls "$WORK_DIR/pictures")"
run earlier-capture "$CAPTURE" --data "$RUN_DIR" --png --start 3000 --length 1t -o plain
expect earlier-capture 0 "frames"
mkdir "$WORK_DIR/longer" && cp "$WORK_DIR/plain/frame-000000.png" "$WORK_DIR/longer/frame-000005.png"
run longer-capture "$CAPTURE" --data "$RUN_DIR" --png --length 2t -o longer
expect longer-capture 1 "the frame folder longer holds frames of a longer capture (frame-000005.png)"
[ "$(ls "$WORK_DIR/longer")" = frame-000005.png ] || fail "longer-capture: wrote into the folder: $(ls "$WORK_DIR/longer")"
# A file of the user's named like the capture's temporaries of an earlier version: left alone.
cp "$SPARE" "$WORK_DIR/beside.mp4.picture.mkv" && cp "$SPARE" "$WORK_DIR/beside.mp4.sound.wav"
run beside "$CAPTURE" --data "$RUN_DIR" --length 2t -o beside.mp4
expect beside 0 "frames"
cmp -s "$SPARE" "$WORK_DIR/beside.mp4.picture.mkv" && cmp -s "$SPARE" "$WORK_DIR/beside.mp4.sound.wav" ||
  fail "beside: the user's files beside the output were overwritten or deleted"
[ "$(ls -A "$WORK_DIR" | grep -c '^beside\.mp4\.\|^\.partial-')" -eq 2 ] || fail "beside: temporaries left: $(ls -A "$WORK_DIR")"
note "outputs that are folders, files, the user's folder, or beside the user's files: nothing of theirs touched"

if mount_small read-only 1m ro && mount_small full "$SMALL_FS"; then
  run read-only-png "$CAPTURE" --data "$RUN_DIR" --png --length 1t -o read-only/frames
  expect read-only-png 1 "Read-only file system"
  run read-only-video "$CAPTURE" --data "$RUN_DIR" --length 1t -o read-only/x.mp4
  expect read-only-video 1 "Read-only file system"
  run full-png "$CAPTURE" --data "$RUN_DIR" --png --length 60t -o full/frames
  expect full-png 1 "cannot write full/frames/"
  rm -rf "$WORK_DIR/full/frames"
  cp "$SPARE" "$WORK_DIR/full/x.mp4"
  run full-video "$CAPTURE" --data "$RUN_DIR" --length 2 -o full/x.mp4
  [ "$status" -eq 1 ] || fail "full-video: status $status, expected 1: $(tail -n 2 "$WORK_DIR/full-video.err")"
  rows=$((rows + 1))
  cmp -s "$SPARE" "$WORK_DIR/full/x.mp4" || fail "full-video: the earlier x.mp4 was overwritten by a failed capture"
  [ "$(ls -A "$WORK_DIR/full")" = x.mp4 ] || fail "full-video: left behind: $(ls -A "$WORK_DIR/full")"
  note "read-only and full file systems: status 1, the earlier video kept, nothing left behind"
else
  note "SKIPPED read-only and full file system rows: cannot mount a tmpfs here (not root?)"
fi

# Starts a capture of ARGS in the background into NAME.err; `capture_pid` is its watchdog's, which
# passes signals on (and, unlike a background job of a script, lets SIGINT through) and ends with
# the capture's status.
start_capture() {
  local name=$1
  shift
  (cd "$WORK_DIR" && exec timeout -k 5 "$CAPTURE_LIMIT" "$CAPTURE" --data "$RUN_DIR" "$@") >/dev/null 2>"$WORK_DIR/$name.err" &
  capture_pid=$!
}

# Waits until FILE exists (the capture is under way), within START_WAIT.
wait_for_file() {
  local deadline=$((SECONDS + START_WAIT))
  until [ -e "$1" ]; do
    kill -0 "$capture_pid" 2>/dev/null || fail "the capture ended before $1 appeared"
    [ $SECONDS -lt $deadline ] || fail "$1 did not appear within $START_WAIT s"
    sleep "$POLL"
  done
}

# Waits until the watchdog runs the capture, within START_WAIT. Until the background subshell has
# become the watchdog it ignores SIGINT, as every background job of a script does, and a signal
# sent then would be lost; until the watchdog's child has become the capture (its name is the
# capture's), the watchdog, not yet knowing its child, ends at the signal and leaves the child to
# start the capture unwatched.
wait_for_capture_process() {
  local deadline=$((SECONDS + START_WAIT))
  until pgrep -P "$capture_pid" -x "$(basename "$CAPTURE")" >/dev/null; do
    kill -0 "$capture_pid" 2>/dev/null || fail "the capture ended before it started"
    [ $SECONDS -lt $deadline ] || fail "the capture did not start within $START_WAIT s"
    sleep "$POLL"
  done
}

start_capture vanish --png --length 600t -o vanish
wait_for_file "$WORK_DIR/vanish/frame-000005.png"
# Moved away in one step, then removed: removing file by file races the capture's next frame, which
# can leave the folder standing with the new frame in it.
mv "$WORK_DIR/vanish" "$WORK_DIR/vanished"
rm -rf "$WORK_DIR/vanished"
wait "$capture_pid"
status=$?
expect vanish 1 "cannot write vanish/"
mkdir "$WORK_DIR/going"
start_capture vanish-video --length 180t -o going/x.mp4
until grep -q -E "[1-9][0-9]*/180" "$WORK_DIR/vanish-video.err" 2>/dev/null; do
  kill -0 "$capture_pid" 2>/dev/null || fail "vanish-video: ended early"
  sleep "$POLL"
done
mv "$WORK_DIR/going" "$WORK_DIR/gone"
rm -rf "$WORK_DIR/gone"
wait "$capture_pid"
status=$?
expect vanish-video 1 "ffmpeg could not put picture and sound into going/x.mp4"
note "a frame folder or a video's folder removed mid-capture: status 1"

# --- Signals ---------------------------------------------------------------------------------------
# SIGNAL | when (start: at once; mid: after some frames) | output kind | statuses allowed
signal_rows=(
  "INT mid png 130"
  "TERM mid png 143"
  "HUP mid png 129"
  "INT mid video 130"
  "HUP mid video 129"
  "INT start png 1|130"
  "TERM start video 1|143"
  "HUP start png 1|129"
)
for row in "${signal_rows[@]}"; do
  read -r signal when kind allowed <<<"$row"
  name=signal-$signal-$when-$kind
  if [ "$kind" = png ]; then
    start_capture "$name" --png --length 600t -o "$name"
    [ "$when" = start ] || wait_for_file "$WORK_DIR/$name/frame-000010.png"
  else
    start_capture "$name" --length 600t -o "$name.mp4"
    if [ "$when" = mid ]; then
      until grep -q -E '[1-9][0-9]*/600' "$WORK_DIR/$name.err" 2>/dev/null; do
        kill -0 "$capture_pid" 2>/dev/null || fail "$name: ended early"
        sleep "$POLL"
      done
    fi
  fi
  wait_for_capture_process
  kill -"$signal" "$capture_pid"
  wait "$capture_pid"
  status=$?
  [[ "|$allowed|" == *"|$status|"* ]] || fail "$name: status $status, expected $allowed: $(tr '\r' '\n' <"$WORK_DIR/$name.err" | tail -n 2)"
  if [ "$when" = mid ]; then
    grep -q -F "stopped by" "$WORK_DIR/$name.err" || fail "$name: did not say it stopped short"
    if [ "$kind" = png ]; then
      frames=$(ls "$WORK_DIR/$name" | grep -c '^frame-')
      wav_bytes=$(stat -c %s "$WORK_DIR/$name/audio.wav")
      [ "$frames" -gt 0 ] && [ "$frames" -lt 600 ] || fail "$name: $frames frames"
      # The sound's header says how much sound follows it: a whole WAV, however short.
      header_bytes=$(od -A n -t u4 -j 40 -N 4 "$WORK_DIR/$name/audio.wav" | tr -d ' ')
      [ "$header_bytes" -eq $((wav_bytes - 44)) ] || fail "$name: audio.wav's header says $header_bytes bytes, it holds $((wav_bytes - 44))"
    else
      ffprobe -v error "$WORK_DIR/$name.mp4" || fail "$name: the short video does not open"
    fi
  fi
  [ -z "$(ls -A "$WORK_DIR" | grep -F "$name.mp4." )" ] && [ -z "$(ls -A "$WORK_DIR" | grep '^\.partial-')" ] ||
    fail "$name: temporaries left: $(ls -A "$WORK_DIR")"
  ! pgrep -f -- "$name" >/dev/null || fail "$name: left running: $(pgrep -a -f -- "$name")"   # no ffmpeg either
  note "$name: status $status"
  rows=$((rows + 1))
done
note "$rows rows in all"
