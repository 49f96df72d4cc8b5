#!/usr/bin/env bash
# web/nginx/quoravint.conf on a stock Debian nginx: the steps in the comment at its top, taken word
# for word, in a machine of the test's own making (mount, network and process namespaces): Debian's
# /etc/nginx, copied, with its default site (the welcome page) enabled, an empty /var/www, /run and
# /var/log/nginx, and a loopback of its own for port 80. The reload, with no systemd there, starts
# nginx instead. nginx takes the configuration without a warning, and the page it sends is the
# show's whatever name or address it is asked by. Nothing outside the test's folder is touched, and
# every process ends with the test.
# Usage: test_nginx_debian.sh SITE   (a folder holding the show's index.html)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
SITE=$(cd "${1:?usage: test_nginx_debian.sh SITE}" && pwd)
CONF=$ROOT/web/nginx/quoravint.conf
SKIPPED=77   # the exit status ctest counts as a skipped test

# Outside: the same script again as the first process of new namespaces, which all end with it.
if [ -z "${QUORAVINT_NGINX_INSIDE:-}" ]; then
  command -v ip >/dev/null || { echo "FAIL: no ip command for the test's loopback: install iproute2" >&2; exit 1; }
  # Mounts and Debian's workers' user (www-data) need root; tests/web/test_nginx.sh runs as anyone.
  [ "$(id -u)" -eq 0 ] || { echo "SKIPPED: not root, so no mounts of its own" >&2; exit "$SKIPPED"; }
  # In a chroot whose root is no mount point the test's mounts cannot be kept from the machine's.
  mountpoint -q / || { echo "SKIPPED: / is no mount point (a chroot), so no mount namespace can be private" >&2; exit "$SKIPPED"; }
  exec env QUORAVINT_NGINX_INSIDE=1 unshare --mount --net --pid --fork --kill-child --mount-proc --propagation private \
    bash "$0" "$@"
fi

# shellcheck source=private_nginx.sh
source "$HERE/private_nginx.sh"
chmod 755 "$NGINX_PREFIX"   # nginx's workers (www-data) read the site through it
NGINX_LOG=/var/log/nginx/error.log

# Puts a copy of Debian's nginx layout in place of the system's, in this mount namespace only.
mkdir -p "$NGINX_PREFIX"/{etc,www,run,log,lib}
cp -a /etc/nginx "$NGINX_PREFIX/etc/nginx"
[ -f "$NGINX_PREFIX/etc/nginx/sites-available/default" ] || fail "no Debian default site in /etc/nginx: install nginx-light"
rm -f "$NGINX_PREFIX"/etc/nginx/sites-enabled/*
ln -s /etc/nginx/sites-available/default "$NGINX_PREFIX/etc/nginx/sites-enabled/default"   # as Debian links it
mkdir -p "$NGINX_PREFIX/www/html"
echo "Welcome to nginx (the default site)" >"$NGINX_PREFIX/www/html/index.nginx-debian.html"
for pair in etc/nginx:/etc/nginx www:/var/www run:/run log:/var/log/nginx lib:/var/lib/nginx; do
  mkdir -p "${pair#*:}"
  mount --bind "$NGINX_PREFIX/${pair%%:*}" "${pair#*:}"
done
ip link set lo up

# The steps of quoravint.conf's comment: the indented lines after its first line ending in a colon.
steps=$(awk '/:$/ && !on { on = 1; next } on && /^#   / { print substr($0, 5); next } on { exit }' "$CONF")
[ -n "$steps" ] || fail "quoravint.conf's comment lists no steps"
while read -r step; do
  echo "step: $step"
  case $step in
    "systemctl reload nginx") start_nginx http://127.0.0.1/ ;;
    "nginx -t") check_nginx ;;
    *) (cd "$(dirname "$CONF")" && SITE=$SITE bash -c "${step//SITE/\"\$SITE\"}") || fail "the step '$step' fails" ;;
  esac
done <<<"$steps"
[ -n "$NGINX_PID" ] || fail "the steps never reload nginx"

# The show's page, not the welcome page, whatever name or address the browser asks for.
for host in 127.0.0.1 localhost example.org "[::1]"; do
  for address in 127.0.0.1 "[::1]"; do
    page=$(curl -sf -H "Host: $host" "http://$address/") || fail "no answer at $address for $host"
    [ "$page" = "$(cat "$SITE/index.html")" ] || fail "$address for $host answers with another page: $(echo "$page" | head -n 3)"
  done
done
echo "a stock Debian nginx serves the site after the steps of quoravint.conf"
