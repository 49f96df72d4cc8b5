#!/usr/bin/env bash
# Installs what is missing, builds the show in build/ and runs it from build/run, the folder
# that holds its assets: `scripts/run.sh` runs demo (1024 x 768), `scripts/run.sh hd` demo-hd
# (1920 x 1080). The show's trace is its standard output; this script's own messages and the
# build's go to standard error, so `scripts/run.sh > trace.txt` keeps only the trace.
# Ends with the show's own exit status.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/lib.sh" run.sh
BUILD=${QUORAVINT_BUILD:-$ROOT/build}   # another build folder may be chosen with QUORAVINT_BUILD
BUILD_TYPE=RelWithDebInfo   # the same build the test command makes, so the two share build/
DISPLAY_CHECK_WAIT=10       # s to wait for an X server to answer before calling it absent
JOBS=$(nproc)               # compile on every core of the machine

# Explains that the show needs an X display and how to give it one, and ends with status 2.
no_display() {
  say "no X display ($1): the show opens a full-screen OpenGL window and needs one."
  say "Run it under a virtual X server instead (the first command as root, once):"
  say "  apt-get install xvfb xauth"
  say "  xvfb-run -a -s \"$(xvfb_args)\" scripts/run.sh${PROGRAM_ARG:+ $PROGRAM_ARG}"
  exit 2
}

PROGRAM_ARG=${1:-}
case "$PROGRAM_ARG" in
  "") PROGRAM=demo ;;
  hd) PROGRAM=demo-hd ;;
  *) say "usage: scripts/run.sh [hd]"; exit 2 ;;
esac

# Everything but the display first, so that a machine without one is ready once it has one.
bash "$ROOT/scripts/install-deps.sh" run >&2

say "building $PROGRAM in $BUILD"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE="$BUILD_TYPE" >&2
cmake --build "$BUILD" -j "$JOBS" --target "$PROGRAM" >&2

[ -n "${DISPLAY:-}" ] || no_display "DISPLAY is not set"
timeout "$DISPLAY_CHECK_WAIT" xdpyinfo >/dev/null 2>&1 || no_display "the X server at DISPLAY=$DISPLAY does not answer"

say "running $PROGRAM from $BUILD/run (Escape ends it)"
cd "$BUILD/run"
exec "./$PROGRAM"
