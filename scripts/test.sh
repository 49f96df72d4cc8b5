#!/usr/bin/env bash
# Installs what is missing, builds everything in build/ and runs the whole test suite
# headlessly: under a private Xvfb screen of 1920 x 1080, with SDL's silent audio driver,
# then the sanitizer run.
#   scripts/test.sh               everything: what continuous integration runs
#   scripts/test.sh --quick       the edit-build-test loop: every test but those labelled slow,
#                                 and no sanitizer run
#   scripts/test.sh --fresh [--quick]
#                                 the same in a clean Debian 12 root, after the README's run.sh
#                                 (scripts/test-fresh.sh; as root)
# Other arguments are passed on to ctest (e.g. `scripts/test.sh -R programs`, `-L gl`).
# Exits non-zero when anything fails.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${QUORAVINT_BUILD:-$ROOT/build}   # another build folder may be chosen with QUORAVINT_BUILD
BUILD_TYPE=RelWithDebInfo                  # optimised, yet with symbols for a failing test's backtrace
XVFB_SCREEN="-screen 0 1920x1080x24"       # large enough for demo-hd; demo's mode sits centred in it
XVFB_NO_RESET=-noreset                     # a resetting server turns away the next test's program
JOBS=$(nproc)                              # compile on every core of the machine
XVFB_FIRST_SERVER=$((100 + RANDOM % 900))  # where xvfb-run -a starts its search for a free display (it must
                                           # come before -a), apart from other test runs on this machine

# Writes a progress line of this script to standard error.
say() {
  echo "test.sh: $*" >&2
}

# Prints how long the script has run so far.
elapsed() {
  echo "$((SECONDS / 60)) min $((SECONDS % 60)) s"
}

if [ "${1:-}" = --fresh ]; then
  shift
  exec bash "$ROOT/scripts/test-fresh.sh" "$@"
fi

QUICK=""
if [ "${1:-}" = --quick ]; then
  QUICK=yes
  shift
  set -- -LE slow "$@"
fi

bash "$ROOT/scripts/install-deps.sh" test

say "configuring $BUILD ($BUILD_TYPE)"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE="$BUILD_TYPE"
say "building everything with $JOBS jobs"
cmake --build "$BUILD" -j "$JOBS"
say "built after $(elapsed)"

# Tests side by side on every core, except those that open windows: they share the Xvfb screen
# and its keyboard, so each runs alone (RUN_SERIAL).
status=0
(cd "$BUILD" && SDL_AUDIODRIVER=dummy xvfb-run -n "$XVFB_FIRST_SERVER" -a -s "$XVFB_SCREEN $XVFB_NO_RESET" \
  ctest --output-on-failure --no-tests=error -j "$JOBS" "$@") || status=$?
say "tests finished after $(elapsed) with status $status"

SANITIZERS=$ROOT/scripts/test-sanitizers.sh
if [ -n "$QUICK" ]; then
  say "quick run: slow tests and the sanitizer run left out"
elif [ ! -f "$SANITIZERS" ]; then
  say "sanitizer run left out: $SANITIZERS is missing"
  status=1
else
  say "running $SANITIZERS"
  bash "$SANITIZERS" || { status=$?; say "sanitizer run failed"; }
  say "sanitizer run finished after $(elapsed)"
fi

if [ "$status" -eq 0 ]; then
  say "all tests passed in $(elapsed)"
else
  say "FAILED (status $status) after $(elapsed)"
fi
exit "$status"
