#!/usr/bin/env bash
# The clean room's scripts on copies of the tree with stand-ins for the tools they call (a PATH of
# small scripts that record their arguments), and apt's own reading of sources files:
#   - debian-mirror.sh finds the Debian archive in one-line and deb822 sources, and only there
#   - test.sh --fresh[=RELEASE] makes the root of that release from that archive, into a partial
#     file of its own, and refuses a release it does not know
#   - test-fresh.sh removes the folders of killed runs (this project's, by their owner file) and
#     their partial files, and nothing else
#   - test-fresh.sh, on Ctrl-C or SIGTERM while the steps run, ends them and removes its folder
#   - newcomer.sh ends the show it started when it stops, on SIGTERM and SIGINT as on a failure
#   - install-deps.sh passes DEBIAN_FRONTEND through sudo, and installs with every service start
#     refused, then disables the services it brought
# Usage: test_clean_room.sh <source folder>
set -u

SOURCE=$(cd "${1:?usage: $0 <source folder>}" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quoravint-clean-room.XXXXXX")
ROOTS=/var/tmp/quoravint-fresh   # where test-fresh.sh keeps each run's folder
OURS=()                          # run folders this test made, removed at its end
trap 'rm -rf "$WORK" "${OURS[@]}"' EXIT
WAIT_TICKS=100   # tenths of a second for a stand-in to start or a process to end (10 s)

source "$(dirname "$0")/stand_ins.sh"

# Makes a fresh tree (new_tree) with the scripts, apt configured by $TREE/apt (APT_CONFIG) to read
# the sources in $SOURCES_LIST (an archive at mirror.example) and $SOURCE_PARTS only, and the clean
# room's cache in $TREE/cache.
new_apt_tree() {
  new_tree scripts
  SOURCES_LIST=$TREE/sources.list
  SOURCE_PARTS=$TREE/sources.list.d
  mkdir -p "$SOURCE_PARTS" "$TREE/lists/partial" "$TREE/cache"
  echo "deb http://mirror.example/apt bookworm main" >"$SOURCES_LIST"
  printf 'Dir::Etc::SourceList "%s";\nDir::Etc::SourceParts "%s";\nDir::State::Lists "%s";\n' \
    "$SOURCES_LIST" "$SOURCE_PARTS" "$TREE/lists" >"$TREE/apt"
  TREE_ENV=(APT_CONFIG="$TREE/apt" QUORAVINT_FRESH_CACHE="$TREE/cache")
}

# Waits until file $1 exists (a stand-in has started); false after WAIT_TICKS.
await_file() {
  local tick
  for ((tick = 0; tick < WAIT_TICKS; tick++)); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Whether any of the processes whose pids are in file $1 still runs, after waiting for them to end.
still_running() {
  local tick pid alive
  for ((tick = 0; tick < WAIT_TICKS; tick++)); do
    alive=""
    for pid in $(cat "$1"); do
      kill -0 "$pid" 2>/dev/null && alive=yes
    done
    [ -n "$alive" ] || return 1
    sleep 0.1
  done
  return 0
}

# Stand-ins that let test-fresh.sh run as root without root: id, git (an empty tree), mmdebstrap
# (a root of empty folders, written where it is told).
fake_clean_room_tools() {
  fake id 'echo 0'
  fake git '[ "$3" != archive ] || tar -cf - -T /dev/null'
  fake mmdebstrap 'mkdir -p "$6.d/var/cache/apt/archives" "$6.d/tmp" "$6.d/etc" && tar -cf "$6" -C "$6.d" . && rm -r "$6.d"'
}

# --- debian-mirror.sh ---------------------------------------------------------------------------
# The sources (a one-line list and a deb822 file, "\n" for new lines) and the address expected,
# empty when none must be found.
while IFS='|' read -r CASE list parts expected; do
  new_apt_tree
  printf "$list" >"$SOURCES_LIST"
  printf "$parts" >"$SOURCE_PARTS/debian.sources"
  run bash "$TREE/scripts/debian-mirror.sh"
  if [ -z "$expected" ]; then
    expect fail "name no Debian archive"
  else
    expect_status 0
    [ "$(cat "$OUT")" = "$expected" ] || fail "printed \"$(cat "$OUT")\", expected $expected"
  fi
done <<'CASES'
mirror: deb822, security listed first||Types: deb\nURIs: http://security.example/apt-security\nSuites: trixie-security\nComponents: main\n\nTypes: deb\n# a comment\nURIs: http://mirror.example/apt/\nSuites: trixie trixie-updates\nComponents: main\n|http://mirror.example/apt
mirror: one-line list with options|deb [arch=amd64 signed-by=/k.gpg] http://list.example/apt bookworm main\n||http://list.example/apt
mirror: a disabled archive is passed over||Types: deb\nURIs: http://off.example/apt\nSuites: trixie\nComponents: main\nEnabled: no\n\nTypes: deb\nURIs: http://on.example/apt\nSuites: trixie\nComponents: main\n|http://on.example/apt
mirror: sources only, updates only||Types: deb-src\nURIs: http://src.example/apt\nSuites: trixie\nComponents: main\n\nTypes: deb\nURIs: http://upd.example/apt\nSuites: trixie-updates\nComponents: main\n|
mirror: no sources at all|||
CASES

# --- test.sh --fresh: the release and the archive -----------------------------------------------
# setpriv stands in for the namespace and the steps inside: it records them and ends at once.
while IFS='|' read -r CASE arguments expected_status expected; do
  new_apt_tree
  fake_clean_room_tools
  fake setpriv "printf '%s\\n' \"\$@\" >'$TREE/args'"
  read -ra args <<<"$arguments"
  run bash "$TREE/scripts/test.sh" "${args[@]}"
  expect_status "$expected_status"
  mmdebstrap=$(grep "^mmdebstrap" "$CALLS")
  if [ "$expected_status" = 0 ]; then
    [[ $mmdebstrap == *" $expected $TREE/cache/$expected-minbase-sudo.tar.partial."[0-9]*" http://mirror.example/apt" ]] ||
      fail "made the root with: $mmdebstrap"
    [ "$(tail -n 3 "$TREE/args" | xargs)" = "--quick -R x" ] || fail "the steps got other arguments: $(tail -n 3 "$TREE/args")"
    [ -f "$TREE/cache/$expected-minbase-sudo.tar" ] || fail "kept no $expected root"
  else
    grep -qF "unknown release '$expected'" "$OUT" || fail "did not name the release: $(cat "$OUT")"
    [ -z "$mmdebstrap" ] || fail "made a root: $mmdebstrap"
  fi
done <<'CASES'
--fresh: the current stable by default|--fresh --quick -R x|0|trixie
--fresh=bookworm|--fresh=bookworm --quick -R x|0|bookworm
--fresh=trixie|--fresh=trixie --quick -R x|0|trixie
--fresh=sid: unknown|--fresh=sid --quick|2|sid
--fresh=: empty|--fresh= --quick|2|
CASES

# --- test-fresh.sh: what killed runs left ---------------------------------------------------------
# Run folders with this project's owner file naming a process that is gone, one that runs (this
# test) and a folder without an owner file; partial tarballs of a gone and a running process.
CASE="stale: only killed runs' folders and partial files are removed"
new_apt_tree
fake_clean_room_tools
fake setpriv
gone=$(bash -c 'echo $$')   # a process that has ended: its pid is free (or another's, started later)
for kind in gone alive unmarked; do
  dir=$(mktemp -d "$ROOTS.XXXXXX")
  OURS+=("$dir")
  eval "dir_$kind=\$dir"
  mkdir "$dir/root"
done
echo "$gone 1" >"$dir_gone/owner"
echo "$$ $(cut -d' ' -f22 "/proc/$$/stat")" >"$dir_alive/owner"
touch "$TREE/cache/trixie-minbase-sudo.tar.partial.$gone" "$TREE/cache/trixie-minbase-sudo.tar.partial.$$"
run bash "$TREE/scripts/test.sh" --fresh --quick
expect 0 "removing $dir_gone, left by a run that was killed"
[ ! -e "$dir_gone" ] || fail "the killed run's folder is still there"
[ -d "$dir_alive/root" ] || fail "a running run's folder was removed"
[ -d "$dir_unmarked/root" ] || fail "a folder without an owner file was removed"
[ ! -e "$TREE/cache/trixie-minbase-sudo.tar.partial.$gone" ] || fail "the killed run's partial file is still there"
[ -e "$TREE/cache/trixie-minbase-sudo.tar.partial.$$" ] || fail "a running run's partial file was removed"

# --- test-fresh.sh: Ctrl-C and SIGTERM while the steps run ----------------------------------------
# setpriv stands in for unshare: a process whose child runs the steps (a sleep), that ends when its
# child is killed. The signal goes to the script (Ctrl-C: the terminal's process group, where the
# steps' own group is not) or to its process group (SIGTERM, as `timeout` or a CI cancel send it).
while IFS='|' read -r CASE signal target expected_status; do
  new_apt_tree
  fake_clean_room_tools
  fake setpriv "printf '%s\\n' \"\$@\" >'$TREE/args'; sleep 1000 & echo \"\$\$ \$!\" >'$TREE/pids'; wait"
  stand_in_env
  set -m
  env "${ENV[@]}" bash "$TREE/scripts/test.sh" --fresh --quick >"$TREE/out" 2>&1 &
  script=$!
  set +m
  if ! await_file "$TREE/pids"; then
    fail "the steps did not start: $(cat "$TREE/out")"
    kill -KILL -- "-$script"
    continue
  fi
  into=$(grep -A1 -x fresh "$TREE/args" | tail -n 1)
  if [ "$target" = group ]; then kill "-$signal" -- "-$script"; else kill "-$signal" "$script"; fi
  STATUS=0
  wait "$script" || STATUS=$?
  [ "$STATUS" -eq "$expected_status" ] || fail "ended with status $STATUS, expected $expected_status: $(cat "$TREE/out")"
  ! still_running "$TREE/pids" || { fail "the steps still run"; kill -KILL $(cat "$TREE/pids"); }
  [ -n "$into" ] && [ ! -e "$(dirname "$into")" ] || fail "the run's folder $(dirname "$into") is still there"
done <<'CASES'
signals: Ctrl-C while the steps run|INT|script|130
signals: SIGTERM to the process group while the steps run|TERM|group|143
CASES

# Started in a script's background, the clean room ignores SIGINT; the steps inside must not, as the
# show's check ends the show with SIGINT. setpriv records whether SIGINT is ignored (bit 2 of SigIgn).
CASE="signals: the steps get SIGINT back when the clean room was started ignoring it"
new_apt_tree
fake_clean_room_tools
fake setpriv "while read -r key mask; do [ \$key != SigIgn: ] || { ((0x\$mask & 2)) && echo ignored || echo default; }
done </proc/\$\$/status >'$TREE/sigint'"
stand_in_env
env "${ENV[@]}" bash "$TREE/scripts/test.sh" --fresh --quick >"$TREE/out" 2>&1 &   # no job control: SIGINT ignored
wait $! || fail "ended with status $?: $(cat "$TREE/out")"
[ "$(cat "$TREE/sigint" 2>/dev/null)" = default ] || fail "SIGINT inside: $(cat "$TREE/sigint" 2>/dev/null)"

# --- newcomer.sh: the show ends with the script -----------------------------------------------
# run.sh says what a machine without a display needs; xvfb-run stands in for the show: it records
# its pid and a child's, then either says it is up (no "demo" process is found: newcomer.sh fails)
# or stays silent (and the signal ends newcomer.sh).
RUN_SH='#!/bin/sh
echo "apt-get install xvfb xauth" >&2
echo "xvfb-run -a -s \"-screen 0 1920x1080x24 -noreset\" scripts/run.sh" >&2
exit 2'
while IFS='|' read -r CASE up signal expected; do
  new_apt_tree
  printf '%s\n' "$RUN_SH" >"$TREE/scripts/run.sh"
  fake apt-get
  fake du 'echo "1G /usr"'
  show='sleep 1000 & echo "$$ $!" >'"'$TREE/pids'"
  [ "$up" = up ] && show+='; echo "Init complete."; for i in $(seq 60); do echo "logic $i"; done'
  fake xvfb-run "$show; wait"
  stand_in_env
  set -m   # else a job of this script ignores SIGINT
  env "${ENV[@]}" bash "$TREE/scripts/newcomer.sh" --quick >"$TREE/out" 2>&1 &
  script=$!
  set +m
  await_file "$TREE/pids" || fail "the show did not start: $(cat "$TREE/out")"
  [ -z "$signal" ] || { sleep 1; kill "-$signal" "$script"; }
  STATUS=0
  wait "$script" || STATUS=$?
  [ "$STATUS" -ne 0 ] || fail "ended with status 0"
  grep -qF -- "$expected" "$TREE/out" || fail "did not say \"$expected\": $(cat "$TREE/out")"
  ! still_running "$TREE/pids" || { fail "the show still runs after newcomer.sh ended"; kill -KILL $(cat "$TREE/pids"); }
done <<'CASES'
newcomer: the show's process not found|up||the show's process was not found
newcomer: SIGTERM while the show starts|silent|TERM|the show under xvfb-run
newcomer: SIGINT while the show starts|silent|INT|the show under xvfb-run
CASES

# --- install-deps.sh: sudo, debconf and services ----------------------------------------------
# A user who may use sudo: sudo resets the environment as Debian's does (env_reset); apt-get records
# what debconf would see and whether service starts are refused while it installs; dpkg-query lists
# nginx as installed once apt-get has run, with a unit and an init script, and a sound server's unit
# that every user's session would start.
CASE="install-deps: as a user with sudo, no service started or enabled"
new_apt_tree
fake id 'echo 1000'
fake sudo 'exec env -i PATH="$PATH" "$@"'
fake apt-get "echo \"DEBIAN_FRONTEND=\${DEBIAN_FRONTEND:-} policy=\$('$TREE/policy-rc.d' nginx start; echo \$?)\" >>'$CALLS'; touch '$TREE/installed'"
fake dpkg-query "if [ \"\$1\" = -L ]; then printf '/lib/systemd/system/nginx.service\n/etc/init.d/nginx\n/usr/lib/systemd/user/pulseaudio.socket\n'
elif [ -e '$TREE/installed' ]; then echo 'nginx ii '; fi"
fake systemctl
fake update-rc.d
run env QUORAVINT_POLICY_RC_D="$TREE/policy-rc.d" bash "$TREE/scripts/install-deps.sh" run
expect 0 "left disabled and not started: nginx pulseaudio.socket"
[ "$(grep -c "^DEBIAN_FRONTEND=noninteractive policy=101$" "$CALLS")" -eq 2 ] ||
  fail "apt-get ran without DEBIAN_FRONTEND or with starts allowed: $(grep "^DEBIAN_FRONTEND" "$CALLS")"
grep -q "^systemctl disable --quiet nginx.service$" "$CALLS" || fail "nginx.service was not disabled: $(cat "$CALLS")"
grep -q "^systemctl --global disable --quiet pulseaudio.socket$" "$CALLS" ||
  fail "the sound server's user unit was left enabled: $(cat "$CALLS")"
[ ! -e "$TREE/policy-rc.d" ] || fail "the policy refusing starts was left in place"

# The test group's sound server: PulseAudio for Firefox's checks, unless the desktop's sound is
# PipeWire's, whose pulse server it would fight at the next login. dpkg reports everything but
# Firefox and PulseAudio installed, and PipeWire's pulse server as the row says.
while IFS='|' read -r CASE rival wanted; do
  new_apt_tree
  fake id 'echo 0'
  fake apt-get
  fake dpkg-query "[ \"\$1\" = -W ] || exit 0; format=\$2; shift 2
for pkg; do
  case \$pkg in firefox-esr|pulseaudio) continue ;; pipewire-pulse) [ -n '$rival' ] || continue ;; esac
  if [[ \$format == *Package* ]]; then echo \"\$pkg ii \"; else printf 'ii '; fi
done"
  run env QUORAVINT_POLICY_RC_D="$TREE/policy-rc.d" bash "$TREE/scripts/install-deps.sh" test
  expect 0 "installing $wanted"
  grep -q "^apt-get install -y -q --no-install-recommends $wanted$" "$CALLS" ||
    fail "apt-get was not asked for exactly '$wanted': $(grep "^apt-get install" "$CALLS")"
done <<'CASES'
install-deps: PulseAudio for Firefox on a machine without a sound server||firefox-esr pulseaudio
install-deps: PipeWire's pulse server is kept|yes|firefox-esr
CASES

[ "$failures" -eq 0 ] || { echo "$failures failed case(s)" >&2; exit 1; }
echo "the clean room's scripts behaved"
