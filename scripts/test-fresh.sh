#!/usr/bin/env bash
# The clean room: makes a minimal Debian 12 root, copies the committed tree into it and runs there
# what the README tells a newcomer (scripts/newcomer.sh): scripts/run.sh until the show is up, then
# scripts/test.sh. Nothing installed on this machine is visible inside; the root is thrown away
# afterwards. Called by `scripts/test.sh --fresh [--quick] [ctest arguments]`, as root.
#
# Environment:
#   QUORAVINT_FRESH_CACHE  where the root's base tarball is kept, default ~/.cache/quoravint-fresh
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${QUORAVINT_FRESH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quoravint-fresh}
BASE=$CACHE/bookworm-minbase.tar
BASE_MAX_AGE_DAYS=7   # Debian's point releases and security fixes: a week-old root is still current
MIRROR=http://deb.debian.org/debian
APT_ARCHIVES=/var/cache/apt/archives   # Debian's downloaded packages, linked in so nothing is fetched twice
TREE=/root/quoravint                   # where the newcomer's clone lies inside the root
EXTRA_CERTS=/usr/local/share/quoravint-fresh/extra-ca.crt   # inside: the certificates Node.js must trust too
HOST_CERTS=${NODE_EXTRA_CA_CERTS:-/etc/ssl/certs/ca-certificates.crt}   # what this machine trusts

# Writes a progress line of this script to standard error.
say() {
  echo "test-fresh: $*" >&2
}

# Ends the script with a message.
die() {
  say "$*"
  exit 1
}

# Prints the seconds since $1 as minutes and seconds.
took() {
  local seconds=$((SECONDS - $1))
  echo "$((seconds / 60)) min $((seconds % 60)) s"
}

# Makes the base tarball when there is none or it is older than BASE_MAX_AGE_DAYS.
ensure_base() {
  if [ -f "$BASE" ] && [ -z "$(find "$BASE" -mtime +"$((BASE_MAX_AGE_DAYS - 1))")" ]; then
    say "using the root of $(date -r "$BASE" +%F) in $BASE"
    return
  fi
  local started=$SECONDS
  say "making a minimal Debian 12 root in $BASE"
  mkdir -p "$CACHE"
  rm -f "$BASE.partial"
  mmdebstrap --quiet --variant=minbase --format=tar bookworm "$BASE.partial" "$MIRROR" ||
    die "mmdebstrap could not make the root"
  mv "$BASE.partial" "$BASE"
  say "root made in $(took "$started")"
}

# Unpacks the base into $1 with the committed tree, the name server and the display numbers taken.
prepare_root() {
  local into=$1
  tar -xf "$BASE" -C "$into"
  mkdir -p "$into$TREE"
  git -C "$ROOT" archive HEAD | tar -x -C "$into$TREE"
  cp -L /etc/resolv.conf "$into/etc/resolv.conf"
  # Hard links, not a shared folder: the root's apt keeps its own cache and its own lock, so it
  # never waits for, nor blocks, an apt of this machine. Across file systems nothing is linked.
  find "$APT_ARCHIVES" -maxdepth 1 -name '*.deb' -exec cp -l -t "$into$APT_ARCHIVES" {} + 2>/dev/null ||
    say "Debian's packages will be downloaded again: $APT_ARCHIVES is on another file system"
  # On a network that signs TLS with a certificate of its own (a company's proxy), this machine
  # trusts it (NODE_EXTRA_CA_CERTS, or its own certificate store); npm inside needs the same. The
  # file goes to a path of its own: the usual one is written anew when the root's ca-certificates
  # package is installed.
  mkdir -p "$into$(dirname "$EXTRA_CERTS")"
  cp -L "$HOST_CERTS" "$into$EXTRA_CERTS" 2>/dev/null || : >"$into$EXTRA_CERTS"
  # The root shares this machine's network, where X servers listen on display numbers of their
  # own; their lock files tell xvfb-run -a inside which numbers are taken.
  cp -a /tmp/.X*-lock "$into/tmp/" 2>/dev/null || true
}

# Runs the newcomer's steps inside the root at $1, in a mount namespace of its own: the mounts
# vanish with it, even when this script is killed. The terminal's type goes in with them, as a
# newcomer's shell has one, and the certificate Node.js must trust, if any.
run_inside() {
  local into=$1
  shift
  unshare --mount --propagation private -- bash -euc '
    into=$1 tree=$2 term=$3 extra_certs=$4
    shift 4
    for fs in /proc /sys /dev /dev/pts; do mount --bind "$fs" "$into$fs"; done
    mount -t tmpfs tmpfs "$into/dev/shm"   # shared memory of its own (Chromium, Mesa), not the machine'"'"'s
    exec chroot "$into" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      LANG=C.UTF-8 TERM="$term" ${extra_certs:+NODE_EXTRA_CA_CERTS="$extra_certs"} QUORAVINT_FRESH=1 \
      bash "$tree/scripts/newcomer.sh" "$@"
  ' fresh "$into" "$TREE" "${TERM:-dumb}" "$EXTRA_CERTS" "$@"
}

[ "$(id -u)" -eq 0 ] || die "the clean room mounts and changes root: run it as root (sudo scripts/test.sh --fresh)"
command -v mmdebstrap >/dev/null || bash "$ROOT/scripts/install-deps.sh" test
[ -z "$(git -C "$ROOT" status --porcelain --untracked-files=no)" ] ||
  say "uncommitted changes stay outside: the root gets the committed tree (HEAD)"

started=$SECONDS
ensure_base
ROOTFS=$(mktemp -d /var/tmp/quoravint-fresh.XXXXXX)
trap 'rm -rf --one-file-system "$ROOTFS"' EXIT
prepare_root "$ROOTFS"
say "clean root ready in $ROOTFS after $(took "$started")"

status=0
run_inside "$ROOTFS" "$@" || status=$?
say "the clean-room run ended with status $status after $(took "$started")"
exit "$status"
