# The show's program tests once more on sdl12-compat, the SDL 1.2 that newer distributions ship
# in place of classic SDL: where the system's SDL 1.2 is classic SDL (Debian 12), Debian's
# libsdl1.2-compat is unpacked into the build folder (once, then kept) and put in front of it with
# LD_LIBRARY_PATH; where it is sdl12-compat already (Debian 13), that one is used. They run under
# the openbox window manager (without one, sdl12-compat crops a mode smaller than the screen). Every program test but the
# slow asset matrix must pass; lib.sh allows for sdl12-compat's own ways (TEST_SDL).
source "$(dirname "$0")/../support/lib.sh" "$@"

COMPAT_PACKAGE=libsdl1.2-compat
COMPAT_DIR=$BUILD_DIR/sdl12-compat          # the unpacked package, kept between runs
PROGRAM_TESTS=$(cd "$(dirname "$0")/../show/programs" && pwd)
SKIPPED=test_asset_matrix.sh                # starts the show over a hundred times: slow enough once
WM_WAIT=20                                  # s allowed for the window manager to take the screen
EXIT_ROUNDS=12                              # starts and Escapes in a row: enough to meet a crash at
                                            # exit that strikes one exit in ten
WM_PID=""
SHOW_NAME=sdl12-compat

# Stops the window manager this test started, then the helpers' own cleanup.
trap '[ -z "$WM_PID" ] || kill "$WM_PID" 2>/dev/null; cleanup' EXIT

# Unpacks the compat library into COMPAT_DIR unless it is there already; prints its folder.
compat_library_folder() {
  local library
  library=$(find "$COMPAT_DIR" -name 'libSDL-1.2.so.0' 2>/dev/null | head -n 1)
  if [ -z "$library" ]; then
    (cd "$WORK_DIR" && apt-get download -q "$COMPAT_PACKAGE" >"$WORK_DIR/download.log" 2>&1) ||
      fail "apt-get download $COMPAT_PACKAGE failed: $(tail -n 2 "$WORK_DIR/download.log")"
    rm -rf "$COMPAT_DIR"
    dpkg -x "$WORK_DIR"/${COMPAT_PACKAGE}_*.deb "$COMPAT_DIR" || fail "cannot unpack $COMPAT_PACKAGE"
    library=$(find "$COMPAT_DIR" -name 'libSDL-1.2.so.0' | head -n 1)
    [ -n "$library" ] || fail "$COMPAT_PACKAGE holds no libSDL-1.2.so.0"
  fi
  dirname "$library"
}

# Prints the folder of the SDL 1.2 that demo loads from the system, with nothing put in front of it.
system_sdl_folder() {
  dirname "$(ldd "$RUN_DIR/demo" | awk '$1 == "libSDL-1.2.so.0" { print $3 }')"
}

# Succeeds when the SDL 1.2 in folder $1 is sdl12-compat (as on Debian 13): it opens SDL 2 by name,
# which classic SDL never mentions.
is_sdl12_compat() {
  grep -qaF 'libSDL2-2.0.so.0' "$1/libSDL-1.2.so.0"
}

# Starts openbox on the test's display and waits until it manages the screen.
start_window_manager() {
  openbox --sm-disable >"$WORK_DIR/openbox.log" 2>&1 &
  WM_PID=$!
  local deadline=$((SECONDS + WM_WAIT))
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    kill -0 "$WM_PID" 2>/dev/null || fail "openbox ended: $(tail -n 3 "$WORK_DIR/openbox.log")"
    [ $SECONDS -lt $deadline ] || fail "openbox did not take the screen within $WM_WAIT s"
    sleep "$POLL"
  done
}

compat=$(system_sdl_folder)
if is_sdl12_compat "$compat"; then
  note "this system's SDL 1.2 is sdl12-compat already: the tests run on it as installed"
else
  compat=$(compat_library_folder)
  export LD_LIBRARY_PATH=$compat${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
fi
export TEST_SDL=sdl12-compat
for program in demo demo-hd; do
  ldd "$RUN_DIR/$program" | grep -q "libSDL-1.2.so.0 => $compat/" ||
    fail "$program does not load SDL from $compat: $(ldd "$RUN_DIR/$program" | grep libSDL)"
done
note "demo and demo-hd load SDL 1.2 from $compat"
start_window_manager
note "openbox manages the screen"

# sdl12-compat unloads SDL 2 when the process ends: the programs must stop SDL's audio thread
# before then, or the thread may call into the unloaded library as the show exits.
for ((round = 1; round <= EXIT_ROUNDS; round++)); do
  start_show "${PROGRAMS[round % ${#PROGRAMS[@]}]}"
  wait_for_show
  find_show_window >/dev/null
  sleep "$STILL_RUNNING_WAIT"   # the song playing, the audio thread busy
  press_keys Escape
  expect_exit 0
done
note "Escape ended the programs with status 0 $EXIT_ROUNDS times in a row"

failed=()
for script in "$PROGRAM_TESTS"/test_*.sh; do
  name=$(basename "$script")
  [ "$name" != "$SKIPPED" ] || continue
  note "running $name on sdl12-compat"
  bash "$script" "$RUN_DIR" "$BUILD_DIR" || failed+=("$name")
done
[ ${#failed[@]} -eq 0 ] || fail "on sdl12-compat: ${failed[*]} failed"
note "every program test but $SKIPPED passed on sdl12-compat"
