#!/usr/bin/env bash
# Runs the real programs, demo and demo-hd, one after the other for a while each under a private
# Xvfb screen at low priority, their trace piped into pass-meter, and prints per program the
# ticks run and frames drawn per second, the real time the catch-up limit dropped, and the
# trace's bytes and lines per second.
# Usage: bench/measure_program.sh <run dir> [seconds per program, default 60]
set -euo pipefail

RUN_DIR=$(cd "${1:?usage: $0 <run dir> [seconds]}" && pwd)
RUN_SECONDS=${2:-60}
XVFB_SCREEN="-screen 0 1920x1080x24 -noreset"   # large enough for demo-hd
# Each program gets a display number of its own, apart from other users of xvfb-run -a.
STOP_WAIT=5                                     # s between the quit request and killing the program

for program in demo demo-hd; do
  SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} xvfb-run -n $((1000 + RANDOM % 3000)) -a -s "$XVFB_SCREEN" bash -c \
    "cd '$RUN_DIR' && timeout -k $STOP_WAIT -s INT $RUN_SECONDS nice -n 19 ./$program | ./pass-meter $program"
done
