#!/usr/bin/env bash
# Builds the headless tests, the soak run and the fuzz replays with AddressSanitizer and
# UndefinedBehaviorSanitizer (QUORAVINT_SANITIZE=ON) and runs them without a display:
# the unit tests of both profiles, the measuring tools' and fuzz helpers' tests, a short soak of
# the show's logic, the replay of every seed corpus and the capture's sound checks (the capture
# mixes it itself, from files that may be damaged). Fails on any failure or sanitizer report.
# Usage: scripts/test-sanitizers.sh [build folder, default build-asan]
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/lib.sh" test-sanitizers.sh
BUILD=$(mkdir -p "${1:-$ROOT/build-asan}" && cd "${1:-$ROOT/build-asan}" && pwd)
RUN_DIR=$BUILD/run
JOBS=${QUORAVINT_JOBS:-$(nproc)}         # compile on every core unless told otherwise
SOAK_TICKS=${QUORAVINT_SOAK_TICKS:-20000} # 5.5 min of show: scene 1 from wander through its vacuum
SOAK_EVERY=5000                          # ticks between the soak's printed rows
TESTS=(unit_tests profile_tests profile_tests_hd bench_tests fuzz_tests)
REPLAYS=(replay-names replay-font replay-sprite)
REPORT_PATTERN='ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:'   # what a sanitizer report begins with

# Every report stops the program with a non-zero status; leaks are reported at exit, except
# scene trees, which by design live until the program ends (see write_leak_suppressions).
RUN_ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
BUILD_ASAN_OPTIONS=detect_leaks=0   # the asset generator runs during the build; it is not under test here
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$BUILD/leak-suppressions.txt:print_suppressions=0
export SDL_AUDIODRIVER=dummy
unset DISPLAY   # headless: nothing here may need an X server

# Scenes and scene swarms are never destroyed: the show's two last until exit, and the tests that
# build scenes of their own leave them (with everything in them) the same way.
write_leak_suppressions() {
  printf 'leak:%s\n' SCENE::SCENE SCENESWARM::SCENESWARM >"$BUILD/leak-suppressions.txt"
}

failures=0

# Runs a command from the run folder with its output in LOG; a failure or a sanitizer report
# in the output counts as a failure and shows the end of the log.
check() {
  local name=$1 log=$BUILD/sanitizers-$1.log
  shift
  say "running $name"
  if (cd "$RUN_DIR" && "$@") >"$log" 2>&1 && ! grep -q -E "$REPORT_PATTERN" "$log"; then
    say "$name passed"
  else
    say "FAILED: $name (log: $log)"
    if grep -q -E "$REPORT_PATTERN" "$log"; then
      grep -E -A 30 "$REPORT_PATTERN" "$log" | head -n 60 >&2
    else
      tail -c 3000 "$log" >&2
    fi
    failures=$((failures + 1))
  fi
}

say "configuring $BUILD with the sanitizers"
cmake -S "$ROOT" -B "$BUILD" -DQUORAVINT_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
say "building with $JOBS jobs"
ASAN_OPTIONS=$BUILD_ASAN_OPTIONS cmake --build "$BUILD" -j "$JOBS" \
  --target assets soak font-seed demo-capture "${TESTS[@]}" "${REPLAYS[@]}" >/dev/null
write_leak_suppressions
export ASAN_OPTIONS=$RUN_ASAN_OPTIONS

for test in "${TESTS[@]}"; do
  check "$test" "$(find "$BUILD" -name "$test" -type f -executable | head -n 1)"
done
check soak "$RUN_DIR/soak" "$SOAK_TICKS" "$SOAK_EVERY"
check replay-names "$BUILD/fuzz/replay-names" "$ROOT/fuzz/corpus/names"
check font-seeds "$BUILD/fuzz/font-seed" gfx/font5.png "$BUILD/fuzz/corpus/font"
check replay-font "$BUILD/fuzz/replay-font" "$BUILD/fuzz/corpus/font"
check replay-sprite "$BUILD/fuzz/replay-sprite" "$RUN_DIR/gfx"
check capture-sound bash "$ROOT/tests/capture/test_capture_sound.sh" "$RUN_DIR" "$BUILD"

if [ "$failures" -eq 0 ]; then
  say "all passed under ASan and UBSan in $SECONDS s"
else
  say "$failures failed under ASan and UBSan"
fi
[ "$failures" -eq 0 ]
