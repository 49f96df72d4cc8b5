#!/usr/bin/env bash
# Builds the libFuzzer programs in a clang build folder and runs each one at low priority for a
# number of executions, starting from its seed corpus (the committed names files, the generated
# font as surface bytes, the generated sprites). New inputs and any crash land in <build>/fuzz/work/.
# Usage: fuzz/run-fuzzers.sh [clang build folder, default build-fuzz] [executions, default 1000000] ["targets"]
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(mkdir -p "${1:-$ROOT/build-fuzz}" && cd "${1:-$ROOT/build-fuzz}" && pwd)
RUNS=${2:-1000000}               # executions per target
RSS_LIMIT_MB=4096                # a decoded image may be large; beyond this libFuzzer calls it a fault
# SDL_image 1.2 ignores short reads, so a PNG whose chunk length runs past the end of the file has
# libpng checksum the same stale bytes over and over: the load never ends. Such inputs are kept as
# timeout artifacts and fuzzing goes on (in a child process, which libFuzzer restarts).
TIMEOUT_S=2                      # s one input may take before it counts as a hang (a sprite loads in ~1 ms)
WORK=$BUILD/fuzz/work
read -r -a TARGETS <<<"${3:-names font sprite}"   # which targets, by default all three

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "${QUORAVINT_JOBS:-2}" --target assets font-seed "${TARGETS[@]/#/fuzz-}" >/dev/null

mkdir -p "$WORK"/{names,font,sprite}
cp "$ROOT"/fuzz/corpus/names/* "$WORK/names/"
(cd "$BUILD/run" && "$BUILD/fuzz/font-seed" gfx/font5.png "$WORK/font")
cp "$BUILD"/run/gfx/*.png "$WORK/sprite/"

status=0
for target in "${TARGETS[@]}"; do
  echo "fuzzing $target for $RUNS executions"
  (cd "$BUILD/run" && nice -n 19 "$BUILD/fuzz/fuzz-$target" -runs="$RUNS" -rss_limit_mb="$RSS_LIMIT_MB" \
    -fork=1 -ignore_timeouts=1 -timeout="$TIMEOUT_S" -print_final_stats=1 \
    -artifact_prefix="$WORK/$target-" "$WORK/$target" >/dev/null 2>"$WORK/$target.log") || status=1
  grep -a -E '^(#[0-9]+: cov|INFO: fuzzed for|INFO: exiting|stat::|==.*ERROR)' "$WORK/$target.log" | tail -n 5 || true
  ls "$WORK" | grep -E "^$target-(crash|timeout|oom)" || true
done
exit $status
