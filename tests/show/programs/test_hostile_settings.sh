# demo and demo-hd given every setting they read empty, garbage, negative, huge and in conflicting
# pairs, and SIGINT, SIGTERM and SIGHUP at start-up and while running. Each row: every bad value is
# named on standard error, one line each, and the show goes on (a bad SDL_WINDOWID once ended it on
# an X error); conflicting pairs follow the documented order; a signal ends it with the documented
# status: 0 for SIGINT and SIGTERM once SDL has started (before that, and for SIGHUP, 128 + N).
source "$(dirname "$0")/../../support/lib.sh" "$@"

NO_WINDOW=0x1fffff00   # a well-formed X id that names no window on a fresh display

rows=0

# Runs row PROGRAM SETTINGS EXPECT: starts PROGRAM with the `env` SETTINGS (";" between them, "-"
# for none), waits for the show to run, checks standard error holds each ";"-separated text of
# EXPECT ("-": no settings named at all) and ends it with SIGINT and status 0.
show_row() {
  local program=$1 settings=$2 expect=$3 text
  local -a env_args=()
  [ "$settings" = - ] || IFS=';' read -r -a env_args <<<"$settings"
  start_show "$program" "" "${env_args[@]}"
  wait_for_show
  if [ "$expect" = - ]; then
    ! grep -q -E 'QUORAVINT_|SDL_WINDOWID' "$SHOW_TRACE.stderr" || fail "$settings: named a setting: $(cat "$SHOW_TRACE.stderr")"
  else
    IFS=';' read -r -a texts <<<"$expect"
    for text in "${texts[@]}"; do
      grep -q -F -- "$text" "$SHOW_TRACE.stderr" || fail "$settings: standard error lacks \"$text\": $(cat "$SHOW_TRACE.stderr")"
    done
    [ "$(grep -c -E 'QUORAVINT_|SDL_WINDOWID' "$SHOW_TRACE.stderr")" -eq "${#texts[@]}" ] ||
      fail "$settings: not one line per bad value: $(cat "$SHOW_TRACE.stderr")"
  fi
  request_quit
  expect_exit 0
  rows=$((rows + 1))
}

# program | env settings | what standard error must hold
settings_rows=(
  "demo|QUORAVINT_START_TICK=|-"
  "demo|QUORAVINT_START_TICK=garbage|QUORAVINT_START_TICK=garbage is not a show tick from 0 to 1000000"
  "demo|QUORAVINT_START_TICK=-5|QUORAVINT_START_TICK=-5 is not a show tick"
  "demo|QUORAVINT_START_TICK=99999999999999999999999|QUORAVINT_START_TICK=99999999999999999999999 is not a show tick"
  "demo|QUORAVINT_START_TICK=1000001|QUORAVINT_START_TICK=1000001 is not a show tick"
  "demo|QUORAVINT_WINDOW=|-"
  "demo|QUORAVINT_WINDOW=garbage|QUORAVINT_WINDOW=garbage is not a window size from 200x150 to 3840x2160"
  "demo|QUORAVINT_WINDOW=-800x600|QUORAVINT_WINDOW=-800x600 is not a window size"
  "demo|QUORAVINT_WINDOW=99999999999999999999x99999|QUORAVINT_WINDOW=99999999999999999999x99999 is not a window size"
  "demo|QUORAVINT_FIT=|-"
  "demo|QUORAVINT_FIT=garbage|QUORAVINT_FIT=garbage is neither 1 nor 0"
  "demo|QUORAVINT_FIT=-1|QUORAVINT_FIT=-1 is neither 1 nor 0"
  "demo|QUORAVINT_FIT=99999999999999999999|QUORAVINT_FIT=99999999999999999999 is neither 1 nor 0"
  "demo|QUORAVINT_DRAW=garbage|QUORAVINT_DRAW=garbage is neither"
  "demo|SDL_WINDOWID=|-"
  "demo|SDL_WINDOWID=garbage|SDL_WINDOWID=garbage is not a window id: ignoring it"
  "demo|SDL_WINDOWID=-1|SDL_WINDOWID=-1 is not a window id"
  "demo|SDL_WINDOWID=99999999999999999999|SDL_WINDOWID=99999999999999999999 is not a window id"
  "demo|SDL_WINDOWID=$NO_WINDOW|SDL_WINDOWID=$NO_WINDOW is no window on the display: ignoring it"
  "demo|SDL_WINDOWID=garbage;QUORAVINT_WINDOW=0x0|SDL_WINDOWID=garbage is not a window id;QUORAVINT_WINDOW=0x0 is not a window size"
  "demo-hd|QUORAVINT_START_TICK=ten;QUORAVINT_WINDOW=1x1;QUORAVINT_FIT=yes|QUORAVINT_START_TICK=ten is not;QUORAVINT_WINDOW=1x1 is not;QUORAVINT_FIT=yes is neither"
)
for row in "${settings_rows[@]}"; do
  IFS='|' read -r program settings expect <<<"$row"
  show_row "$program" "$settings" "$expect"
done
note "$rows rows of bad settings: each named, the show went on"

# Conflicting pairs honoured in the documented order (a window id, a window size, the desktop's size):
# program | env settings | the show window's size | what standard error must hold
pair_rows=(
  "demo|QUORAVINT_WINDOW=800x600;QUORAVINT_FIT=1|800x600|-"
  "demo-hd|SDL_WINDOWID=garbage;QUORAVINT_WINDOW=640x480|640x480|SDL_WINDOWID=garbage is not a window id"
  "demo|SDL_WINDOWID=$NO_WINDOW;QUORAVINT_WINDOW=640x480|640x480|SDL_WINDOWID=$NO_WINDOW is no window on the display"
)
for row in "${pair_rows[@]}"; do
  IFS='|' read -r program settings size expect <<<"$row"
  row_words "$settings"
  start_show "$program" "" "${ROW_WORDS[@]}"
  wait_for_show
  window=$(find_show_window)
  [ "$(window_size "$window")" = "$size" ] || fail "$settings: a $(window_size "$window") window, expected $size"
  [ "$expect" = - ] || grep -q -F -- "$expect" "$SHOW_TRACE.stderr" || fail "$settings: standard error lacks \"$expect\""
  request_quit
  expect_exit 0
  rows=$((rows + 1))
done
note "conflicting pairs: the window id, then the window size, then the desktop's size"

# Signals: SIGNAL | when (start: as soon as the process is there; run: once the show runs) | statuses allowed
signal_rows=(
  "INT start 0|130"
  "TERM start 0|143"
  "HUP start 129"
  "INT run 0"
  "TERM run 0"
  "HUP run 129"
)
for row in "${signal_rows[@]}"; do
  read -r signal when allowed <<<"$row"
  start_show demo ""
  if [ "$when" = run ]; then wait_for_show; fi
  kill -"$signal" "$(program_pid)"
  deadline=$((SECONDS + START_WAIT))
  while kill -0 "$SHOW_PID" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "SIG$signal at $when: still running after $START_WAIT s"
    sleep "$POLL"
  done
  collect_status
  [[ "|$allowed|" == *"|$SHOW_STATUS|"* ]] || fail "SIG$signal at $when: status $SHOW_STATUS, expected $allowed"
  note "SIG$signal at $when: ended with status $SHOW_STATUS"
  rows=$((rows + 1))
done
note "$rows rows in all"
