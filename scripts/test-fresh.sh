#!/usr/bin/env bash
# The clean room: makes a minimal Debian root of the release asked for, copies the committed tree
# into it and runs there what the README tells a newcomer (scripts/newcomer.sh): scripts/run.sh
# until the show is up, then scripts/test.sh. Nothing installed on this machine is visible inside;
# the root is thrown away afterwards, and nothing started inside outlives the run: it runs in a
# process namespace of its own, ended with this script whatever ends it (Ctrl-C, SIGTERM, SIGKILL).
#
#   scripts/test-fresh.sh [--release=RELEASE] [--user] [test.sh's arguments, e.g. --quick]
#     --release  bookworm (Debian 12) or trixie (Debian 13, the default: Debian's stable release)
#     --user     the README's commands as an ordinary user who may use sudo, not as root
# Called by `scripts/test.sh --fresh[=RELEASE]`, as root. The packages come from the Debian archive
# this machine's apt uses (scripts/debian-mirror.sh).
#
# Environment:
#   QUORAVINT_FRESH_CACHE  where each release's root and downloaded packages are kept,
#                          default ~/.cache/quoravint-fresh
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/lib.sh" test-fresh
CACHE=${QUORAVINT_FRESH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quoravint-fresh}
RELEASES="bookworm trixie"   # the releases this project is proven on
RELEASE=trixie               # Debian's stable release since August 2025
BASE_MAX_AGE_DAYS=7          # Debian's point releases and security fixes: a week-old root is still current
BASE_PACKAGES=sudo           # the newcomer "who may use sudo" has it; minbase has not
HOST_ARCHIVES=/var/cache/apt/archives   # this machine's downloaded packages (those of its own release serve)
ROOTS=/var/tmp/quoravint-fresh          # each run's folder is ROOTS.XXXXXX: the root, and its owner
OWNER=owner                  # in a run's folder: "PID START" of the script that made it
USER_NAME=newcomer           # the ordinary user of --user
EXTRA_CERTS=/usr/local/share/quoravint-fresh/extra-ca.crt   # inside: the certificates Node.js must trust too
HOST_CERTS=${NODE_EXTRA_CA_CERTS:-/etc/ssl/certs/ca-certificates.crt}   # what this machine trusts

# Prints when process $1 started (clock ticks since boot), which tells it from a later process
# given the same number; nothing when there is no such process.
start_time() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  set -- ${stat##*) }   # the fields after the command's name, which may hold spaces
  echo "${20}"
}

# Whether the process that wrote the owner file $1 ("PID START") still runs.
owner_alive() {
  local pid start
  read -r pid start <"$1" || return 1
  [ -n "$start" ] && [ "$(start_time "$pid")" = "$start" ]
}

# Removes the run folders and partial root tarballs that killed runs left behind: only folders
# holding this project's owner file and whose owner is gone, only tarballs whose maker is gone.
remove_stale() {
  local dir partial
  for dir in "$ROOTS".*; do
    [ -f "$dir/$OWNER" ] && ! owner_alive "$dir/$OWNER" || continue
    say "removing $dir, left by a run that was killed"
    rm -rf --one-file-system "$dir"
  done
  for partial in "$CACHE"/*.partial.*; do
    [ -f "$partial" ] && [ -z "$(start_time "${partial##*.}")" ] || continue
    say "removing $partial, left by a run that was killed"
    rm -f "$partial"
  done
}

# Reads the options (--release=RELEASE, --user) into RELEASE and USER_MODE; the rest stays in ARGS.
parse_options() {
  USER_MODE=""
  ARGS=()
  while [ $# -gt 0 ]; do
    case $1 in
      --release=*) RELEASE=${1#--release=} ;;
      --user) USER_MODE=yes ;;
      *) ARGS=("$@"); break ;;
    esac
    shift
  done
  [[ " $RELEASES " == *" $RELEASE "* ]] && [ -n "$RELEASE" ] ||
    die "unknown release '$RELEASE': the clean room makes ${RELEASES// / or }" 2
}

# Makes the release's base tarball when there is none or it is older than BASE_MAX_AGE_DAYS.
ensure_base() {
  if [ -f "$BASE" ] && [ -z "$(find "$BASE" -mtime +"$((BASE_MAX_AGE_DAYS - 1))")" ]; then
    say "using the $RELEASE root of $(date -r "$BASE" +%F) in $BASE"
    return
  fi
  local started=$SECONDS mirror
  mirror=$(bash "$ROOT/scripts/debian-mirror.sh")
  say "making a minimal $RELEASE root from $mirror in $BASE"
  PARTIAL=$BASE.partial.$$   # this run's alone; a killed run's is removed by the next
  mmdebstrap --quiet --variant=minbase --include="$BASE_PACKAGES" --format=tar "$RELEASE" "$PARTIAL" "$mirror" ||
    die "mmdebstrap could not make the root"
  mv "$PARTIAL" "$BASE"
  PARTIAL=""
  say "root made in $(took "$started")"
}

# Hard-links the packages (*.deb) of folder $1 into folder $2, except those $2 has; further
# arguments are find's tests that narrow which. Says so when they cannot be linked (another file
# system).
link_packages() {
  local from=$1 to=$2
  shift 2
  find "$from" -maxdepth 1 -name '*.deb' "$@" -exec cp -l -n -t "$to" {} + 2>/dev/null ||
    say "the packages of $from could not be linked into $to: they are on different file systems"
}

# Unpacks the base into $INTO with the committed tree in $TREE, the packages downloaded before,
# the certificates, the display numbers taken and, for --user, the user.
prepare_root() {
  tar -xf "$BASE" -C "$INTO"
  # Hard links, not a shared folder: the root's apt keeps its own cache and its own lock, so it
  # never waits for, nor blocks, an apt of this machine.
  link_packages "$HOST_ARCHIVES" "$INTO$HOST_ARCHIVES"
  link_packages "$ARCHIVES" "$INTO$HOST_ARCHIVES"
  # On a network that signs TLS with a certificate of its own (a company's proxy), this machine
  # trusts it (NODE_EXTRA_CA_CERTS, or its own certificate store); npm inside needs the same. The
  # file goes to a path of its own: the usual one is written anew when the root's ca-certificates
  # package is installed.
  mkdir -p "$INTO$(dirname "$EXTRA_CERTS")"
  cp -L "$HOST_CERTS" "$INTO$EXTRA_CERTS" 2>/dev/null || : >"$INTO$EXTRA_CERTS"
  cp -L /etc/resolv.conf "$INTO/etc/resolv.conf"
  # The root shares this machine's network, where X servers listen on display numbers of their
  # own; their lock files tell xvfb-run -a inside which numbers are taken.
  cp -a /tmp/.X*-lock "$INTO/tmp/" 2>/dev/null || true
  if [ -n "$USER_MODE" ]; then
    chroot "$INTO" useradd --create-home --shell /bin/bash "$USER_NAME"
    echo "127.0.1.1 $(hostname)" >>"$INTO/etc/hosts"   # as Debian's installer writes it: sudo looks the name up
    echo "$USER_NAME ALL=(ALL) NOPASSWD: ALL" >"$INTO/etc/sudoers.d/$USER_NAME"   # no one types a password here
    chmod 440 "$INTO/etc/sudoers.d/$USER_NAME"
  fi
  mkdir -p "$INTO$TREE"
  git -C "$ROOT" archive HEAD | tar -x -C "$INTO$TREE"
  [ -z "$USER_MODE" ] || chroot "$INTO" chown -R "$USER_NAME:" "$TREE"
}

# Starts the newcomer's steps inside the root in the background (INSIDE: its pid), in process and
# mount namespaces of their own with their own /proc: when the namespace's first process ends,
# the kernel ends every other, and the mounts vanish with the last. setpriv ends it with this
# script, even a killed one; its own process group keeps the terminal's Ctrl-C for this script's
# trap. SIGINT is given back its default: started in the background of a script, this script
# ignores it, and so would the show, whose check ends it with SIGINT. The terminal's type goes in,
# as a newcomer's shell has one, and the certificate Node.js must trust, if any.
start_inside() {
  local user=root home=/root
  [ -z "$USER_MODE" ] || user=$USER_NAME home=/home/$USER_NAME
  set -m
  env --default-signal=INT setpriv --pdeathsig KILL -- unshare --pid --fork --kill-child --mount-proc="$INTO/proc" -- bash -euc '
    into=$1 tree=$2 user=$3 home=$4 term=$5 extra_certs=$6
    shift 6
    for fs in /sys /dev /dev/pts; do mount --bind "$fs" "$into$fs"; done
    mount -t tmpfs tmpfs "$into/dev/shm"   # shared memory of its own (Chromium, Mesa), not the machine'"'"'s
    chroot "$into" runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM="$term" \
      ${extra_certs:+NODE_EXTRA_CA_CERTS="$extra_certs"} QUORAVINT_FRESH=1 bash "$tree/scripts/newcomer.sh" "$@"
  ' fresh "$INTO" "$TREE" "$user" "$home" "${TERM:-dumb}" "$EXTRA_CERTS" "$@" </dev/null &
  INSIDE=$!
  set +m
}

# Ends the namespace, if it still runs, and waits until every process in it has ended: the
# namespace's first process, killed, is reaped by unshare only after the last of the others.
stop_inside() {
  [ -n "$INSIDE" ] || return 0
  local stat pid parent
  for stat in /proc/[0-9]*/stat; do
    read -r pid _ _ parent _ 2>/dev/null <"$stat" || continue   # a name with spaces shifts parent off any pid
    [ "$parent" != "$INSIDE" ] || kill -KILL "$pid" 2>/dev/null || true
  done
  wait "$INSIDE" 2>/dev/null || true
  INSIDE=""
}

# Ends the run: stops what runs inside, keeps the packages the root downloaded for the next run,
# removes the run's folder and a partial tarball. A second Ctrl-C must not cut this short.
clean_up() {
  trap '' INT TERM
  stop_inside
  if [ -n "$RUN_DIR" ]; then
    # The packages the root downloaded, those with no other link (none from this machine or the
    # cache), are kept for the next run.
    [ ! -d "$INTO$HOST_ARCHIVES" ] || link_packages "$INTO$HOST_ARCHIVES" "$ARCHIVES" -links 1
    rm -rf --one-file-system "$RUN_DIR"
  fi
  [ -z "$PARTIAL" ] || rm -f "$PARTIAL"
}

parse_options "$@"
set -- "${ARGS[@]}"
[ "$(id -u)" -eq 0 ] || die "the clean room mounts and changes root: run it as root (sudo scripts/test.sh --fresh)"
command -v mmdebstrap >/dev/null || bash "$ROOT/scripts/install-deps.sh" fresh
[ -z "$(git -C "$ROOT" status --porcelain --untracked-files=no)" ] ||
  say "uncommitted changes stay outside: the root gets the committed tree (HEAD)"

BASE=$CACHE/$RELEASE-minbase-sudo.tar
ARCHIVES=$CACHE/$RELEASE-archives   # the packages the root downloaded, for the next run
TREE=/root/quoravint                # where the newcomer's clone lies inside the root
[ -z "$USER_MODE" ] || TREE=/home/$USER_NAME/quoravint
INSIDE="" RUN_DIR="" PARTIAL=""
trap clean_up EXIT
trap 'say "interrupted: ending the run"; exit 130' INT
trap 'say "terminated: ending the run"; exit 143' TERM

started=$SECONDS
mkdir -p "$ARCHIVES"
remove_stale
ensure_base
RUN_DIR=$(mktemp -d "$ROOTS.XXXXXX")
echo "$$ $(start_time $$)" >"$RUN_DIR/$OWNER"
INTO=$RUN_DIR/root
mkdir "$INTO"
prepare_root
say "clean $RELEASE root ready in $INTO after $(took "$started")"

status=0
start_inside "$@"
wait "$INSIDE" || status=$?
INSIDE=""
say "the clean-room run on $RELEASE ended with status $status after $(took "$started")"
exit "$status"
