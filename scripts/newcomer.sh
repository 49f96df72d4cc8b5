#!/usr/bin/env bash
# What the README tells a newcomer on a fresh machine without a screen, step by step and timed:
# scripts/run.sh (installs, builds, then asks for a display), the virtual display it names, the
# show under it until it is up and a SIGINT ends it with status 0, then scripts/test.sh with the
# arguments given (e.g. --quick), then, the build being done, the README's other ways to start the
# show: scripts/run.sh hd, and ./demo from build/run. Each command is written here as the README
# prints it (tests/scripts/test_readme_commands.sh holds the two to each other).
# scripts/test-fresh.sh runs it inside a clean Debian root, as root or as a user who may use sudo,
# and there (QUORAVINT_FRESH=1) checks at the end that the steps left nothing running and no
# service enabled. Whatever ends this script ends the show it started.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/lib.sh" newcomer
START_WAIT=300    # s for the show to say "Init complete." on a loaded machine
TICKS_WANTED=60   # trace lines with a logic tick: a second of the show drawn
EXIT_WAIT=30      # s for the show to end after SIGINT
LOG=/tmp/newcomer # the steps' output, kept for a failure's report
README_SHOW='xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" scripts/run.sh'   # the show under the virtual display
UNDER_XVFB=${README_SHOW% scripts/run.sh}   # the README's virtual display, for its other starts

# Ends the script with the message $1 and the end of the log $2.
die_showing() {
  say "$1"
  tail -n 20 "$2" >&2
  exit 1
}

# Runs a step (its name, then its command) and says how long it took; returns its status.
step() {
  local name=$1 started=$SECONDS status=0
  shift
  say "$name: $*"
  "$@" || status=$?
  say "$name took $(took "$started") (status $status)"
  return "$status"
}

# scripts/run.sh on a machine without a display: it must install and build, then say how to get one.
run_without_display() {
  local status=0
  scripts/run.sh >/dev/null 2>"$LOG/run.err" || status=$?
  [ "$status" -eq 2 ] || die_showing "run.sh ended with status $status, expected 2" "$LOG/run.err"
  grep -qF "apt-get install xvfb xauth" "$LOG/run.err" &&
    grep -qF "$README_SHOW" "$LOG/run.err" ||
    die_showing "run.sh did not say how to get a virtual display" "$LOG/run.err"
  say "/usr holds $(du -sh /usr | cut -f1) after run.sh's installation"
}

# The virtual display's packages, as the README prints the command (as root): apt-get's question
# whether to install their dependencies too is answered yes, as the newcomer would.
install_xvfb() {
  as_root apt-get install xvfb xauth < <(yes)
}

# The pid of the program $2 (demo or demo-hd) in the process group of the job $1, empty if none yet.
show_pid() {
  local stat pid comm group
  for stat in /proc/[0-9]*/stat; do
    read -r pid comm _ _ group _ 2>/dev/null <"$stat" || continue
    [ "$comm" = "($2)" ] && [ "$group" = "$1" ] && { echo "$pid"; return; }
  done
  return 0
}

# Ends the show's job (xvfb-run, its X server and the show: one process group), if it still runs.
end_show() {
  [ -z "$SHOW_JOB" ] || kill -TERM -- "-$SHOW_JOB" 2>/dev/null || true
}

# The program $1 (demo or demo-hd) started by the command line $2, as the README prints it, under
# the virtual display until it is up; SIGINT must end it with 0.
run_show() {
  : >"$LOG/trace"   # not the last show's trace, which would pass for this one's start
  set -m   # a job of its own, so the signal is the show's alone
  bash -c "$2" >"$LOG/trace" 2>"$LOG/show.err" &
  SHOW_JOB=$!
  set +m
  local job=$SHOW_JOB deadline=$((SECONDS + START_WAIT)) pid=""
  until grep -q "^Init complete\.$" "$LOG/trace" && [ "$(grep -c "logic " "$LOG/trace")" -ge "$TICKS_WANTED" ]; do
    kill -0 "$job" 2>/dev/null || die_showing "the show ended before it was up" "$LOG/show.err"
    [ "$SECONDS" -lt "$deadline" ] || die_showing "the show was not up within $START_WAIT s" "$LOG/show.err"
    sleep 1
  done
  pid=$(show_pid "$job" "$1")
  [ -n "$pid" ] || die "the show's process was not found"
  say "the show is up (Init complete., $(grep -c "logic " "$LOG/trace") trace lines of ticks); sending SIGINT"
  kill -INT "$pid"
  local status=0
  timeout "$EXIT_WAIT" tail --pid="$job" -f /dev/null || die "the show did not end within $EXIT_WAIT s of SIGINT"
  wait "$job" || status=$?
  SHOW_JOB=""
  [ "$status" -eq 0 ] || die_showing "the show ended with status $status after SIGINT" "$LOG/show.err"
}

# The tests as the README prints them: the whole suite, or the quick one (--quick); other arguments
# (e.g. -R programs) go to scripts/test.sh as they are.
run_tests() {
  case $* in
    "") scripts/test.sh ;;
    --quick) scripts/test.sh --quick ;;
    *) scripts/test.sh "$@" ;;
  esac
}

# Prints the services set to start at boot (systemd's wanted units and the init scripts' start links).
enabled_services() {
  # A target (systemd's remote-fs.target, enabled when a minimal root gets systemd) starts nothing of
  # its own: only what runs is counted.
  find /etc/systemd/system /etc/rc[2345].d \( -path '*.wants/*' -o -name 'S??*' \) ! -name '*.target' \
    -printf '%f\n' 2>/dev/null | sort -u
}

# Prints the processes other than this script, those that started it and its own children (the
# subshell that looks), as "PID NAME"; meant for a process namespace of the clean room's own, where
# nothing else runs: a daemon left behind shows, its parent being the namespace's first process.
others_running() {
  local ancestors=" $$ " pid=$$ stat comm parent
  while [ "$pid" -gt 1 ]; do
    read -r _ _ _ pid _ <"/proc/$pid/stat"
    ancestors+="$pid "
  done
  for stat in /proc/[0-9]*/stat; do
    read -r pid comm _ parent _ 2>/dev/null <"$stat" || continue
    [[ $ancestors == *" $pid "* || $parent == "$$" ]] || echo "$pid $comm"
  done
}

# In the clean room: the steps must leave nothing running and no service enabled that was not before.
nothing_left_behind() {
  local running enabled
  running=$(others_running)
  [ -z "$running" ] || die "still running after the steps: $(echo $running)"
  enabled=$(comm -13 <(echo "$ENABLED_BEFORE") <(enabled_services))
  [ -z "$enabled" ] || die "services the steps enabled: $(echo $enabled)"
  say "nothing left running, no service enabled"
}

SHOW_JOB=""
trap end_show EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
cd "$ROOT"
mkdir -p "$LOG"
ENABLED_BEFORE=$(enabled_services)
step "scripts/run.sh without a display" run_without_display
step "the virtual display" install_xvfb >"$LOG/xvfb.log"
step "the show under xvfb-run" run_show demo "$README_SHOW"
step "scripts/test.sh" run_tests "$@"
step "the hd show under xvfb-run" run_show demo-hd "$UNDER_XVFB scripts/run.sh hd"
step "the show from its run folder" run_show demo "cd build/run && $UNDER_XVFB ./demo"
[ -z "${QUORAVINT_FRESH:-}" ] || nothing_left_behind
