#!/usr/bin/env bash
# Installs what is missing, builds everything in build/ and runs the whole test suite
# headlessly: under a private Xvfb screen of 1920 x 1080, with SDL's silent audio driver,
# then the sanitizer run.
#   scripts/test.sh               everything: what continuous integration runs
#   scripts/test.sh --quick       the edit-build-test loop: every test but those labelled slow,
#                                 and no sanitizer run
#   scripts/test.sh --fresh[=RELEASE] [--user] [--quick]
#                                 the same in a clean Debian root, after the README's run.sh
#                                 (scripts/test-fresh.sh; as root): RELEASE trixie (Debian 13, the
#                                 default) or bookworm (Debian 12); --user runs the README's commands
#                                 as an ordinary user who may use sudo
# Other arguments are passed on to ctest (e.g. `scripts/test.sh -R programs`, `-L gl`).
# Exits non-zero when anything fails.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/lib.sh" test.sh
BUILD=${QUORAVINT_BUILD:-$ROOT/build}   # another build folder may be chosen with QUORAVINT_BUILD
BUILD_TYPE=RelWithDebInfo                  # optimised, yet with symbols for a failing test's backtrace
JOBS=$(nproc)                              # compile on every core of the machine
XVFB_FIRST_SERVER=$((100 + RANDOM % 900))  # where xvfb-run -a starts its search for a free display (it must
                                           # come before -a), apart from other test runs on this machine

case ${1:-} in
  --fresh) shift; exec bash "$ROOT/scripts/test-fresh.sh" "$@" ;;
  --fresh=*) release=${1#--fresh=}; shift; exec bash "$ROOT/scripts/test-fresh.sh" --release="$release" "$@" ;;
esac

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
say "built after $(took)"

# Tests side by side on every core, except those that open windows: they share the Xvfb screen
# and its keyboard, so each runs alone (RUN_SERIAL).
status=0
(cd "$BUILD" && SDL_AUDIODRIVER=dummy xvfb-run -n "$XVFB_FIRST_SERVER" -a -s "$(xvfb_args)" \
  ctest --output-on-failure --no-tests=error -j "$JOBS" "$@") || status=$?
say "tests finished after $(took) with status $status"

SANITIZERS=$ROOT/scripts/test-sanitizers.sh
if [ -n "$QUICK" ]; then
  say "quick run: slow tests and the sanitizer run left out"
elif [ ! -f "$SANITIZERS" ]; then
  say "sanitizer run left out: $SANITIZERS is missing"
  status=1
else
  say "running $SANITIZERS"
  bash "$SANITIZERS" || { status=$?; say "sanitizer run failed"; }
  say "sanitizer run finished after $(took)"
fi

if [ "$status" -eq 0 ]; then
  say "all tests passed in $(took)"
else
  say "FAILED (status $status) after $(took)"
fi
exit "$status"
