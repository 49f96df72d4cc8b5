# demo-capture's own sound, against what the programs do with the same files:
#   - the song starts again each time it ends: a second of sound far into the show is not silence
#   - a missing or damaged effect or song is traced with the programs' words, and the capture is
#     made without it; an effect in a WAV file of another rate loads, as in the programs; an effect
#     whose stream claims hours is refused rather than decoded into memory
source "$(dirname "$0")/../support/lib.sh" "$@"

CAPTURE=$RUN_DIR/demo-capture
SHOW_NAME=demo-capture
CAPTURE_LIMIT=200          # s one capture may take on a busy machine before it counts as hung
SONG_LOOP_TICKS=(6000 24000 36000)   # show ticks each past one or more ends of the song (under 100 s long)
EFFECT=sfx/VLERVELER.ogg   # the effect the damaged rows replace
SONG=sfx/towers.xm
CLAIMED_HOURS=10           # what the damaged Vorbis stream claims to last

# Runs demo-capture for one tick on the show files in folder DATA, its trace into NAME.trace;
# fails unless it ends with status 0.
capture_tick() {
  local name=$1 data=$2
  timeout -k 5 "$CAPTURE_LIMIT" "$CAPTURE" --data "$data" --length 1t --png -o "$WORK_DIR/$name" \
    --trace "$WORK_DIR/$name.trace" >/dev/null 2>"$WORK_DIR/$name.err" ||
    fail "$name: the capture failed: $(tr '\r' '\n' <"$WORK_DIR/$name.err" | tail -n 2)"
}

# A folder of the show's files, each a link to the run folder's, for a row to damage one of them.
show_copy() {
  local folder=$WORK_DIR/data-$1 file
  mkdir -p "$folder/gfx" "$folder/sfx"
  for file in "$RUN_DIR"/gfx/* "$RUN_DIR"/sfx/* "$RUN_DIR/names.txt"; do
    ln -s "$file" "$folder/${file#"$RUN_DIR"/}"
  done
  echo "$folder"
}

# Writes into FILE a Vorbis stream of a few seconds whose last page claims CLAIMED_HOURS of sound,
# its checksum made again so the claim is read as the stream's length. (The show's effects are one
# page of sound each, and a stream's first page of sound sets where its count starts.)
claim_hours() {
  local honest=$WORK_DIR/honest.ogg
  ffmpeg -hide_banner -nostdin -loglevel error -f lavfi -i "sine=frequency=440:duration=3:sample_rate=22050" \
    -c:a libvorbis "$honest" || fail "ffmpeg made no Vorbis stream"
  python3 - "$honest" "$1" "$CLAIMED_HOURS" <<'EOF'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
last = data.rfind(b'OggS')
rate = struct.unpack_from('<I', data, data.find(b'\x01vorbis') + 12)[0]
struct.pack_into('<q', data, last + 6, int(sys.argv[3]) * 3600 * rate)
struct.pack_into('<I', data, last + 22, 0)
segments = data[last + 26]
end = last + 27 + segments + sum(data[last + 27:last + 27 + segments])
crc = 0
for byte in data[last:end]:
    crc ^= byte << 24
    for _ in range(8):
        crc = ((crc << 1) ^ 0x04C11DB7 if crc & 0x80000000 else crc << 1) & 0xFFFFFFFF
struct.pack_into('<I', data, last + 22, crc)
open(sys.argv[2], 'wb').write(data)
EOF
}

# --- The song plays on to the show's end ------------------------------------------------------
for tick in "${SONG_LOOP_TICKS[@]}"; do
  timeout -k 5 "$CAPTURE_LIMIT" "$CAPTURE" --start "$tick" --length 1 --png -o "$WORK_DIR/song-$tick" \
    >/dev/null 2>"$WORK_DIR/song-$tick.err" || fail "the capture at tick $tick failed"
  volume=$(mean_volume "$WORK_DIR/song-$tick/audio.wav")
  above_silence "$volume" ||
    fail "tick $tick: the sound is at $volume dB; the song did not start again after it ended"
  note "tick $tick: the song plays, at $volume dB"
done

# --- Damaged sound files: the programs' words, and the capture made ------------------------------
# Each row: name|file|how it is damaged|a line the trace must hold|a line it must not hold.
rows=(
  "effect-missing|$EFFECT|missing|ERROR LOADING SOUND: $EFFECT|LOADED SOUND: $EFFECT"
  "effect-garbage|$EFFECT|garbage|ERROR LOADING SOUND: $EFFECT|LOADED SOUND: $EFFECT"
  "effect-wav|$EFFECT|wav|LOADED SOUND: $EFFECT|ERROR LOADING SOUND"
  "effect-hours|$EFFECT|hours|ERROR LOADING SOUND: $EFFECT|LOADED SOUND: $EFFECT"
  "song-missing|$SONG|missing|MUSIC ERROR: music parameter was NULL|PLAYING SONG"
  "song-garbage|$SONG|garbage|SONG LOAD FAIL|LOADED SONG"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name file damage holds lacks <<<"$row"
  data=$(show_copy "$name")
  rm "$data/$file"
  case $damage in
    missing) ;;
    garbage) yes "not a sound" | head -c 4096 >"$data/$file" ;;
    wav) ffmpeg -hide_banner -nostdin -loglevel error -i "$RUN_DIR/$file" -ar 22050 -ac 1 -f wav "$data/$file" ;;
    hours) claim_hours "$data/$file" ;;
  esac
  capture_tick "$name" "$data"
  grep -q -x -F "$holds" "$WORK_DIR/$name.trace" || fail "$name: the trace lacks \"$holds\""
  ! grep -q -F "$lacks" "$WORK_DIR/$name.trace" || fail "$name: the trace holds \"$lacks\""
  note "$name: \"$holds\", and the capture is made"
done
note "all capture sound checks passed"
