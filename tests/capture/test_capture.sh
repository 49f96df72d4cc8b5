# demo-capture: frame-exact captures with the show's own sound, at both profiles.
#   - bad options, an unwritable output, a missing ffmpeg or GL context: one line, non-zero status
#   - a 5 s video at each profile: 300 frames at 60 fps of the profile's size, 5 s of sound, not silent
#   - the same seed captures the same frames and sound; another seed does not
#   - started elsewhere with --data naming the show's folder it captures the same, and relative
#     output and trace paths land where it was started
#   - started at tick 15000 it shows scene 2, at 20500 scene 1 climbing a tower, and the ticks
#     before the start, run undrawn, leave the show exactly where drawing them would
#   - the trace file holds the whole trace, one "logic " per tick, drawn or not
#   - a fridge's yell starts in the sound track within the tick whose trace shows the fridge reached
source "$(dirname "$0")/../support/lib.sh" "$@"

CAPTURE=$RUN_DIR/demo-capture
CAPTURE_LIMIT=200          # s one capture may take on a busy machine before it counts as hung
AUDIO_RATE=11025           # Hz of the show's mixer
WAV_HEADER=44              # bytes before the samples in the capture's WAV
SAMPLE_FRAME_BYTES=4       # two channels of 16-bit samples
SCENE2_START=15000         # the show tick scene 2 takes over
CLIMB_TICK=20500           # a show tick in scene 1's first climb
FIRST_FRIDGE_BY=16200      # scene 2 reaches its first fridge well before this tick
CONTRAST_SEEDS=(1 3)       # two seeds whose first fridge visits fall on different ticks
SOUND_WINDOW=30            # ticks captured either side of the first fridge visit
TEAL_MARGIN=50             # green and blue above red: the pipe's teal, not the sky's navy

# Runs demo-capture with the arguments after NAME; its standard streams go to NAME.out and
# NAME.err in the work folder. Fails unless it ends with status 0 and writes nothing on
# standard output (the show's trace goes to a file or nowhere).
capture() {
  local name=$1
  shift
  timeout -k 5 "$CAPTURE_LIMIT" "$CAPTURE" "$@" >"$WORK_DIR/$name.out" 2>"$WORK_DIR/$name.err" \
    || fail "capture $name ($*) failed: $(tr '\r' '\n' <"$WORK_DIR/$name.err" | tail -n 3)"
  [ ! -s "$WORK_DIR/$name.out" ] || fail "capture $name wrote to standard output: $(head -c 200 "$WORK_DIR/$name.out")"
  note "$name: $(tail -n 1 "$WORK_DIR/$name.err")"
}

# Runs demo-capture with ARGS... expecting exit status STATUS and one line on standard error
# containing TEXT.
expect_refusal() {
  local status=$1 text=$2 got
  shift 2
  "$@" >/dev/null 2>"$WORK_DIR/refusal.err"
  got=$?
  [ "$got" -eq "$status" ] || fail "$* ended with status $got, expected $status"
  [ "$(wc -l <"$WORK_DIR/refusal.err")" -eq 1 ] || fail "$* complained in more than one line: $(cat "$WORK_DIR/refusal.err")"
  grep -q -F -- "$text" "$WORK_DIR/refusal.err" || fail "$* said \"$(cat "$WORK_DIR/refusal.err")\", expected \"$text\""
}

# One field of a stream of a media file, as ffprobe reports it: FILE STREAM(v:0, a:0) FIELD.
probe() {
  ffprobe -v error -select_streams "$2" -show_entries "stream=$3" -of default=noprint_wrappers=1:nokey=1 "$1"
}

# The first sample frame of show tick TICK, counting from tick 0.
first_sample_frame() {
  echo $(($1 * AUDIO_RATE / 60))
}

# The mean of the red and of the blue channel of an image, 0 to 255, as "RED BLUE".
mean_red_blue() {
  convert "$1" -format '%[fx:int(255 * mean.r)] %[fx:int(255 * mean.b)]' info:
}

# Whether the pixel at X Y of an image is the tower pipe's teal: green and blue well above red.
is_teal() {
  local rgb
  rgb=$(convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:)
  awk -v rgb="$rgb" -v TEAL_MARGIN="$TEAL_MARGIN" 'BEGIN { split(rgb, c, " "); exit !(c[2] - c[1] > TEAL_MARGIN && c[3] - c[1] > TEAL_MARGIN) }'
}

# The first show tick from FROM on whose logic traced "[FOLLOW STOP]" in trace FILE: in scene 2
# the camera reaching a fridge, which opens and plays its yell. Every tick's trace starts "logic ".
first_follow_stop() {
  grep -o -E 'logic |\[FOLLOW STOP\]' "$1" |
    awk -v from="$2" '/logic/ {tick++} /FOLLOW/ && tick - 1 >= from {print tick - 1; exit}'
}

# Concatenated md5 sums of the PNG frames and the sound of a frame folder.
folder_digest() {
  cat "$1"/frame-*.png | md5sum
  md5sum <"$1/audio.wav"
}

# --- Complaints: one line and a non-zero status, before any window opens ---------------------
SHOW_NAME=demo-capture
"$CAPTURE" --help >"$WORK_DIR/help.txt" || fail "--help ended with a failure"
grep -q "No X server is needed" "$WORK_DIR/help.txt" || fail "--help does not say it draws without an X server"
expect_refusal 2 "bad length" "$CAPTURE" --length 0
expect_refusal 2 "unknown option" "$CAPTURE" --colour
expect_refusal 2 "needs a value" "$CAPTURE" --start
expect_refusal 2 "unknown profile" "$CAPTURE" --profile 4k
expect_refusal 1 "cannot write $WORK_DIR/missing/out.mp4" "$CAPTURE" -o "$WORK_DIR/missing/out.mp4"
expect_refusal 1 "cannot make the frame folder" "$CAPTURE" --png -o "$WORK_DIR/missing/frames"
expect_refusal 1 "ffmpeg not found" env PATH=/nonexistent "$CAPTURE" -o "$WORK_DIR/out.mp4"
expect_refusal 1 "there is no EGL device 99" env -u DISPLAY QUORAVINT_EGL_DEVICE=99 "$CAPTURE" --length 1t --png -o "$WORK_DIR/nodisplay"
expect_refusal 1 "cannot use $WORK_DIR/nowhere as the show's folder" "$CAPTURE" --data "$WORK_DIR/nowhere" --png
expect_refusal 1 "no show files in $WORK_DIR" "$CAPTURE" --data "$WORK_DIR" --png -o "$WORK_DIR/frames"
(cd "$WORK_DIR" && expect_refusal 1 "name it with --data" "$CAPTURE" --png) || exit 1
[ ! -e "$WORK_DIR/frames" ] && [ ! -e "$WORK_DIR/capture-frames" ] || fail "a capture without show files left a frame folder"
[ ! -e "$WORK_DIR/out.mp4" ] || fail "a refused capture left $WORK_DIR/out.mp4 behind"
note "bad options, unwritable outputs, a missing ffmpeg, GL context or show folder are refused in one line"

# --- Five seconds at each profile -------------------------------------------------------------
for profile in sd:1024x768 hd:1920x1080; do
  name=${profile%%:*} size=${profile#*:}
  video=$WORK_DIR/five-$name.mp4
  capture "five-$name" --profile "$name" --length 5 -o "$video"
  grep -q -E '[0-9.]+ frames per second' "$WORK_DIR/five-$name.err" || fail "no speed in frames per second at the end"
  grep -q -F "300/300 frames" "$WORK_DIR/five-$name.err" || fail "no progress bar reaching 300/300 frames"
  [ "$(probe "$video" v:0 codec_name)" = h264 ] || fail "$name: the picture is not H.264"
  [ "$(probe "$video" a:0 codec_name)" = aac ] || fail "$name: the sound is not AAC"
  [ "$(probe "$video" v:0 nb_frames)" = 300 ] || fail "$name: $(probe "$video" v:0 nb_frames) frames, expected 300"
  [ "$(probe "$video" v:0 r_frame_rate)" = 60/1 ] || fail "$name: $(probe "$video" v:0 r_frame_rate) fps, expected 60"
  [ "$(probe "$video" v:0 width)x$(probe "$video" v:0 height)" = "$size" ] || fail "$name: frames not $size"
  duration=$(probe "$video" a:0 duration)
  awk -v d="$duration" 'BEGIN { exit !(d > 5 - 1 / 60 && d < 5 + 1 / 60) }' || fail "$name: sound lasts $duration s"
  volume=$(mean_volume "$video")
  above_silence "$volume" || fail "$name: sound at $volume dB"
  [ -z "$(ls "$WORK_DIR" | grep -F "five-$name.mp4.")" ] || fail "$name: temporary files left: $(ls "$WORK_DIR")"
  note "$name: 300 frames of $size at 60 fps, $duration s of sound at $volume dB"
done

capture fast-encode --fast-encode --length 1 -o "$WORK_DIR/fast-encode.mp4"
[ "$(probe "$WORK_DIR/fast-encode.mp4" v:0 codec_name)" = h264 ] || fail "--fast-encode: the picture is not H.264"
[ "$(probe "$WORK_DIR/fast-encode.mp4" v:0 nb_frames)" = 60 ] || fail "--fast-encode: not 60 frames in 1 s"
note "--fast-encode writes the same kind of video"

# --- The seed decides, and only the seed ------------------------------------------------------
capture seed-a --length 1 --png -o "$WORK_DIR/seed-a"
capture seed-b --length 1 --png -o "$WORK_DIR/seed-b" --seed 1
capture seed-other --length 1 --png -o "$WORK_DIR/seed-other" --seed 2
[ "$(ls "$WORK_DIR/seed-a" | grep -c '^frame-.*\.png$')" -eq 60 ] || fail "a 1 s capture has not 60 frames"
[ "$(stat -c %s "$WORK_DIR/seed-a/audio.wav")" -eq $((WAV_HEADER + AUDIO_RATE * SAMPLE_FRAME_BYTES)) ] ||
  fail "a 1 s capture has not exactly $AUDIO_RATE sample frames of sound"
[ "$(folder_digest "$WORK_DIR/seed-a")" = "$(folder_digest "$WORK_DIR/seed-b")" ] ||
  fail "two captures with the default seed 1 differ"
[ "$(cat "$WORK_DIR"/seed-a/frame-*.png | md5sum)" != "$(cat "$WORK_DIR"/seed-other/frame-*.png | md5sum)" ] ||
  fail "seeds 1 and 2 captured the same frames"
note "the same seed gives the same frames and sound; seed 2 other frames"

# --- The show's folder named with --data, the outputs where the user stands ---------------------
elsewhere=$WORK_DIR/elsewhere
mkdir -p "$elsewhere"
(cd "$elsewhere" && capture data-elsewhere --length 1 --png -o frames --trace show.trace --data "$RUN_DIR") || exit 1
[ -d "$elsewhere/frames" ] && [ -s "$elsewhere/show.trace" ] || fail "relative outputs did not land in $elsewhere"
[ ! -e "$RUN_DIR/frames" ] && [ ! -e "$RUN_DIR/show.trace" ] || fail "relative outputs landed in the show's folder"
grep -q -F "LOADED SONG" "$elsewhere/show.trace" || fail "the song was not loaded from the show's folder"
[ "$(folder_digest "$elsewhere/frames")" = "$(folder_digest "$WORK_DIR/seed-a")" ] ||
  fail "a capture started elsewhere with --data differs from one started in the show's folder"
note "started elsewhere with --data: the same frames and sound, the outputs where it was started"

# --- Where a start tick lands -----------------------------------------------------------------
capture scene2 --start "$SCENE2_START" --length 1t --png -o "$WORK_DIR/scene2"
read -r red blue <<<"$(mean_red_blue "$WORK_DIR/scene2/frame-000000.png")"
[ "$red" -gt "$blue" ] || fail "tick $SCENE2_START: red $red, blue $blue; scene 2's stone wall is warm"

capture climb --start "$CLIMB_TICK" --length 1t --png -o "$WORK_DIR/climb"
climb_frame=$WORK_DIR/climb/frame-000000.png
read -r red blue <<<"$(mean_red_blue "$climb_frame")"
[ "$blue" -gt "$red" ] || fail "tick $CLIMB_TICK: red $red, blue $blue; scene 1's night sky is blue"
teal_rows=0
for row in 115 269 384 499 653; do
  is_teal "$climb_frame" 512 "$row" && teal_rows=$((teal_rows + 1))
done
[ "$teal_rows" -ge 4 ] || fail "tick $CLIMB_TICK: the climbed tower's pipe is not up the middle ($teal_rows of 5 rows)"

capture lead-in --start $((CLIMB_TICK - 10)) --length 11t --png -o "$WORK_DIR/lead-in"
cmp -s "$WORK_DIR/lead-in/frame-000010.png" "$climb_frame" ||
  fail "tick $CLIMB_TICK drawn after 10 drawn ticks differs from tick $CLIMB_TICK drawn after an undrawn run"
note "tick $SCENE2_START shows scene 2, tick $CLIMB_TICK scene 1 climbing; undrawn ticks change nothing"

# --- An effect lands in the tick that played it -----------------------------------------------
# Until scene 2's camera reaches its first fridge nothing but the song sounds, and the song does
# not depend on the seed. So with two seeds whose first fridge visits differ, the two sound
# tracks are equal sample for sample up to the earlier yell, and differ from its tick on.
declare -A fridge_tick
for seed in "${CONTRAST_SEEDS[@]}"; do
  capture "find-fridge-$seed" --seed "$seed" --start "$FIRST_FRIDGE_BY" --length 1t --png \
    -o "$WORK_DIR/find-fridge-$seed" --trace "$WORK_DIR/fridge-$seed.trace"
  trace=$WORK_DIR/fridge-$seed.trace
  grep -q -F "ADD (" <(head -c 1000 "$trace") || fail "the trace file lacks the planets' construction"
  grep -q -F "Init complete." "$trace" || fail "the trace file lacks the start-up"
  ticks=$(grep -o -F "logic " "$trace" | wc -l)
  [ "$ticks" -eq $((FIRST_FRIDGE_BY + 1)) ] || fail "$ticks logic ticks traced for $FIRST_FRIDGE_BY undrawn and 1 drawn"
  fridge_tick[$seed]=$(first_follow_stop "$trace" "$SCENE2_START")
  [ -n "${fridge_tick[$seed]}" ] || fail "seed $seed: no fridge reached between ticks $SCENE2_START and $FIRST_FRIDGE_BY"
done
seed_a=${CONTRAST_SEEDS[0]} seed_b=${CONTRAST_SEEDS[1]}
[ "${fridge_tick[$seed_a]}" != "${fridge_tick[$seed_b]}" ] ||
  fail "seeds $seed_a and $seed_b reach their first fridge on the same tick ${fridge_tick[$seed_a]}"
first_yell=$((fridge_tick[$seed_a] < fridge_tick[$seed_b] ? fridge_tick[$seed_a] : fridge_tick[$seed_b]))
window_start=$((first_yell - SOUND_WINDOW))
for seed in "${CONTRAST_SEEDS[@]}"; do
  capture "yell-$seed" --seed "$seed" --start "$window_start" --length $((2 * SOUND_WINDOW))t --png \
    -o "$WORK_DIR/yell-$seed"
done
differ_byte=$(cmp "$WORK_DIR/yell-$seed_a/audio.wav" "$WORK_DIR/yell-$seed_b/audio.wav" | awk '{print $5}' | tr -d ,)
[ -n "$differ_byte" ] || fail "seeds $seed_a and $seed_b have the same sound although a fridge yells in one of them"
differ_frame=$(((differ_byte - 1 - WAV_HEADER) / SAMPLE_FRAME_BYTES))
yell_from=$(($(first_sample_frame "$first_yell") - $(first_sample_frame "$window_start")))
yell_to=$(($(first_sample_frame $((first_yell + 1))) - $(first_sample_frame "$window_start")))
[ "$differ_frame" -ge "$yell_from" ] && [ "$differ_frame" -lt "$yell_to" ] ||
  fail "the sound first differs at sample frame $differ_frame, the yell's tick $first_yell spans $yell_from to $yell_to"
note "the fridge yell of tick $first_yell starts at sample frame $differ_frame, within its tick ($yell_from-$yell_to)"
note "all capture checks passed"
