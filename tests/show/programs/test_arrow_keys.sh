# Holding the right arrow key turns the view: the camera angle the show traces grows about six
# times as fast as the world's own spin, and the picture differs from one taken without the key.
source "$(dirname "$0")/../../support/lib.sh" "$@"

HOLD=2                 # s each phase lasts: about 120 ticks
MIN_SPEED_UP=3         # the key adds 0.005 rad per tick to the spin of 0.001: about six times
KEY_TURN_LOW=0.004     # rad per tick the key adds at the start height of 1000: 5 / 1000,
KEY_TURN_HIGH=0.006    # within the camera's bob and the trace's six digits
MIN_CHANGED=0.02       # share of the picture's pixels that must change while the key is held

# The camera angle per tick in the trace between byte offsets FROM and TO: every entity added to a
# running scene writes "ADD (camangle,camy)", and every tick writes two "BKG1: " lines, one per scene.
turn_per_tick() {
  local from=$1 to=$2 segment=$WORK_DIR/segment
  tail -c +"$((from + 1))" "$SHOW_TRACE" | head -c "$((to - from))" >"$segment"
  local ticks angles
  ticks=$(($(grep -o -F 'BKG1: ' "$segment" | wc -l) / 2))
  angles=$(grep -o 'ADD ([-0-9.e+]*,' "$segment" | sed 's/ADD (//; s/,//')
  [ "$ticks" -gt 10 ] || fail "only $ticks ticks between offsets $from and $to"
  [ "$(echo "$angles" | wc -l)" -gt 2 ] || fail "too few ADD lines to read the camera angle"
  awk -v ticks="$ticks" 'NR == 1 {first = $1} {last = $1} END {printf "%.6f\n", (last - first) / ticks}' \
    <<<"$angles"
}

# The share of pixels that differ between two pictures.
changed_share() {
  local differing
  differing=$(compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 >/dev/null | awk '{print int($1)}')
  identify -format "%[fx:$differing / (w * h)]" "$1"
}

for program in "${PROGRAMS[@]}"; do
  size=$(profile_size "$program")
  start_show "$program"
  wait_for_show
  find_show_window >/dev/null
  sleep "$HOLD"
  free_from=$(stat -c %s "$SHOW_TRACE")
  sleep "$HOLD"
  screenshot "$WORK_DIR/$program-free.png" "$size"
  free_to=$(stat -c %s "$SHOW_TRACE")
  hold_key Right
  held_from=$(stat -c %s "$SHOW_TRACE")
  sleep "$HOLD"
  screenshot "$WORK_DIR/$program-held.png" "$size"
  held_to=$(stat -c %s "$SHOW_TRACE")
  release_key
  press_keys Escape
  expect_exit 0

  free=$(turn_per_tick "$free_from" "$free_to")
  held=$(turn_per_tick "$held_from" "$held_to")
  note "camera turn per tick: $free without the key, $held with the right arrow held"
  awk -v f="$free" 'BEGIN {exit !(f > 0)}' || fail "the world does not turn by itself ($free per tick)"
  awk -v f="$free" -v h="$held" -v k="$MIN_SPEED_UP" 'BEGIN {exit !(h > k * f)}' \
    || fail "holding the right arrow did not speed up the turn ($free -> $held per tick)"
  awk -v f="$free" -v h="$held" -v lo="$KEY_TURN_LOW" -v hi="$KEY_TURN_HIGH" 'BEGIN {exit !(h - f > lo && h - f < hi)}' \
    || fail "the right arrow should add 5 px of turn per tick forward ($free -> $held per tick)"
  share=$(changed_share "$WORK_DIR/$program-free.png" "$WORK_DIR/$program-held.png")
  note "share of the picture changed while the key was held: $share"
  awk -v s="$share" -v m="$MIN_CHANGED" 'BEGIN {exit !(s > m)}' || fail "the picture barely changed ($share)"
done
note "the right arrow turns the view in both programs"
