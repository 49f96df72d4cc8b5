# A sprite whose PNG header declares 16000 x 16000 pixels (a gigabyte once decoded) in a file of a
# few hundred bytes: both programs refuse it before decoding, write the load failure for it, stay
# small, keep running and end with status 0 on the quit request.
source "$(dirname "$0")/../../support/lib.sh" "$@"

HUGE_SIDE=16000        # pixels across and down the declared image
VICTIM=gfx/pipe.png    # the sprite replaced: loading stops there, the show goes on without it
PEAK_LIMIT_KB=1200000  # kB of address space a show may reach: it maps about 650 000 (libraries, llvmpipe's
                       # threads); a surface for the huge image would add 1 000 000 more

# Prints a copy of the run folder whose VICTIM declares HUGE_SIDE square; the other files are links.
folder_with_huge_png() {
  local folder sprite
  folder=$(run_folder_without gfx)
  mkdir "$folder/gfx"
  for sprite in "$RUN_DIR"/gfx/*; do ln -s "$sprite" "$folder/gfx/"; done
  rm "$folder/$VICTIM"
  write_huge_png "$folder"
  echo "$folder"
}

# Writes into folder DIR a copy of the run folder's VICTIM whose header declares HUGE_SIDE square.
write_huge_png() {
  /usr/bin/python3 - "$RUN_DIR/$VICTIM" "$1/$VICTIM" "$HUGE_SIDE" <<'PY'
import struct, sys, zlib
data = bytearray(open(sys.argv[1], "rb").read())
side = int(sys.argv[3])
data[16:24] = struct.pack(">II", side, side)                            # the header's width and height
data[29:33] = struct.pack(">I", zlib.crc32(bytes(data[12:29])))          # its checksum, made right again
open(sys.argv[2], "wb").write(data)
PY
}

# The most address space the program has held so far, in kB: an allocation counts there even
# before its pages are touched.
peak_memory_kb() {
  awk '/^VmPeak:/ { print $2 }' "/proc/$(program_pid)/status"
}

for program in "${PROGRAMS[@]}"; do
  folder=$(folder_with_huge_png)
  start_show "$program" "$folder"
  wait_for_show
  expect_in_trace "Error loading $VICTIM  "
  expect_still_running
  peak=$(peak_memory_kb)
  [ "$peak" -lt "$PEAK_LIMIT_KB" ] || fail "the show reached $peak kB of address space"
  note "refused the ${HUGE_SIDE}x$HUGE_SIDE image; peak address space $peak kB"
  request_quit
  expect_exit 0
done
note "oversized sprite checks passed"
