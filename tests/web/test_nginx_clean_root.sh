#!/usr/bin/env bash
# The stock-layout nginx test (test_nginx_debian.sh) in a clean Debian root of the given release,
# made here with mmdebstrap: Debian's own /etc/nginx and nginx (1.22 in bookworm, 1.26 in trixie),
# untouched by this machine. The root is removed afterwards, and no mount outlives the test.
# Usage: test_nginx_clean_root.sh RELEASE   (bookworm, trixie)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
RELEASE=${1:?usage: test_nginx_clean_root.sh RELEASE}
SKIPPED=77   # the exit status ctest counts as a skipped test
PACKAGES=nginx-light,libnginx-mod-http-brotli-static,curl,iproute2,procps   # the test's and the rules' needs

# Prints the Debian archive this machine's apt uses (nothing when it names none).
debian_mirror() {
  local lists=() list
  for list in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list; do
    [ ! -f "$list" ] || lists+=("$list")
  done
  [ "${#lists[@]}" -gt 0 ] || return 0
  awk '$1 == "URIs:" { for (i = 2; i <= NF; i++) print $i }
       $1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; break } }' "${lists[@]}" |
    grep -v -- '-security' | sed -n 1p   # sed reads to the end: awk gets no SIGPIPE
}

[ "$(id -u)" -eq 0 ] || { echo "SKIPPED: not root, so no root to make" >&2; exit "$SKIPPED"; }
mountpoint -q / || { echo "SKIPPED: / is no mount point (a chroot), so no mount namespace can be private" >&2; exit "$SKIPPED"; }
command -v mmdebstrap >/dev/null || { echo "FAIL: no mmdebstrap: run scripts/install-deps.sh test" >&2; exit 1; }
MIRROR=$(debian_mirror)
[ -n "$MIRROR" ] || { echo "FAIL: no Debian archive in this machine's apt sources" >&2; exit 1; }

CLEAN=$(mktemp -d /var/tmp/quoravint-nginx-root.XXXXXX)
trap 'rm -rf "$CLEAN"' EXIT
mmdebstrap --quiet --variant=minbase --include="$PACKAGES" "$RELEASE" "$CLEAN" "$MIRROR" ||
  { echo "FAIL: mmdebstrap could not make a $RELEASE root" >&2; exit 1; }
mkdir -p "$CLEAN/quoravint/tests" "$CLEAN/quoravint/web"
cp -r "$ROOT/tests/web" "$CLEAN/quoravint/tests/"
cp -r "$ROOT/web/nginx" "$ROOT/web/page" "$CLEAN/quoravint/web/"
echo "nginx in the $RELEASE root: $(chroot "$CLEAN" nginx -v 2>&1)"
# The root is a mount point of its own, so the test's namespaces inside can keep their mounts private.
unshare --mount --fork bash -c 'mount --bind "$1" "$1" && mount -t proc proc "$1/proc" &&
  exec chroot "$1" bash /quoravint/tests/web/test_nginx_debian.sh /quoravint/web/page' _ "$CLEAN"
