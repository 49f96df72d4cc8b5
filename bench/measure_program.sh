#!/usr/bin/env bash
# Runs the real programs one after the other for a while each under a private Xvfb screen, their
# trace piped into pass-meter, and prints per program the ticks run and frames drawn per second,
# the real time the catch-up limit dropped, and the trace's bytes and lines per second.
# Usage: bench/measure_program.sh <run dir> [seconds per program | show] [start tick]
#   seconds   how long each program runs, default 60; "show" runs the whole timeline (600 s:
#             every mode of both scenes, the busiest moments included)
#   start     the show tick each program starts at (QUORAVINT_START_TICK): the ticks before it
#             run undrawn first, so a busy moment is reached at once; default 0
# Environment: PROGRAMS (default "demo demo-hd"); CORES, a CPU list the programs are pinned to
#   with taskset (e.g. CORES=0 for one core); NICE, their niceness (default 0); SCREEN, the Xvfb
#   screen's size (default scripts/lib.sh's XVFB_SIZE, 1920x1080); QUORAVINT_DRAW (reference or
#   fast), QUORAVINT_WINDOW and QUORAVINT_FIT are passed on, e.g. SCREEN=2560x1440 QUORAVINT_FIT=1 for a fitted frame.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh" measure_program

RUN_DIR=$(cd "${1:?usage: $0 <run dir> [seconds|show] [start tick]}" && pwd)
RUN_SECONDS=${2:-60}
START_TICK=${3:-0}
WHOLE_SHOW_SECONDS=600                          # the timeline's ten minutes, up to the alternation
STOP_WAIT=5                                     # s between the quit request and killing the program
TICKS_PER_SECOND=60                             # the show's logic rate
SKIP_TICKS_PER_SECOND=1000                      # a slow machine's undrawn ticks, traced: time allowed for the start

[ "$RUN_SECONDS" = show ] && RUN_SECONDS=$WHOLE_SHOW_SECONDS
[[ "$RUN_SECONDS" =~ ^[0-9]+$ && "$START_TICK" =~ ^[0-9]+$ ]] || { echo "usage: $0 <run dir> [seconds|show] [start tick]" >&2; exit 2; }
PIN=()
[ -z "${CORES:-}" ] || PIN=(taskset -c "$CORES")
# The undrawn ticks before the start tick count against the run time; allow for them.
LIMIT=$((RUN_SECONDS + START_TICK / SKIP_TICKS_PER_SECOND))

echo "load average before: $(cut -d ' ' -f 1-3 /proc/loadavg); cores: ${CORES:-all}; nice ${NICE:-0};" \
  "draw: ${QUORAVINT_DRAW:-fast}; screen ${SCREEN:-$XVFB_SIZE}; window ${QUORAVINT_WINDOW:-none}; fit ${QUORAVINT_FIT:-no};" \
  "start tick $START_TICK ($((START_TICK / TICKS_PER_SECOND)) s of show); $RUN_SECONDS s each"
for program in ${PROGRAMS:-demo demo-hd}; do
  # Each program gets a display number of its own, apart from other users of xvfb-run -a.
  SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} QUORAVINT_START_TICK=$START_TICK xvfb-run -n $((1000 + RANDOM % 3000)) -a \
    -s "$(xvfb_args "${SCREEN:-}")" bash -c "cd '$RUN_DIR' && timeout -k $STOP_WAIT -s INT $LIMIT nice -n ${NICE:-0} ${PIN[*]} ./$program | ./pass-meter $program"
done
echo "load average after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
