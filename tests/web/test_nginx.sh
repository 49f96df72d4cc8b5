#!/usr/bin/env bash
# Debian's nginx serves the site with the repository's rules (web/nginx/quoravint-site.conf) on a
# loopback port: the right types, the precompressed Brotli and gzip copies, long caching for the
# hashed files and none for the page; then the browser checks named after the folders run against it.
# Usage: test_nginx.sh SITE REFERENCE CHECKS_FOLDER [CHECK...]
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SITE=$(cd "${1:?usage: test_nginx.sh SITE REFERENCE CHECKS [CHECK...]}" && pwd)
REFERENCE=$(cd "${2:?usage: test_nginx.sh SITE REFERENCE CHECKS [CHECK...]}" && pwd)
CHECKS=${3:?usage: test_nginx.sh SITE REFERENCE CHECKS [CHECK...]}
shift 3
PORT=$((20000 + RANDOM % 20000))   # a free-looking port, apart from other runs on this machine
WAIT_TRIES=50                      # tenths of a second nginx may take to answer
BROTLI_MODULE=/usr/lib/nginx/modules/ngx_http_brotli_static_module.so   # libnginx-mod-http-brotli-static
PREFIX=$(mktemp -d)
BASE=http://127.0.0.1:$PORT

# Fails the test with a message and nginx's log.
fail() {
  echo "FAIL: $*" >&2
  cat "$PREFIX/error.log" >&2 2>/dev/null || true
  exit 1
}

# Started as root, nginx's workers become nobody, who may not read a site under root's home: they
# stay who started the test instead (a loopback server of the test's own).
WORKERS_AS=""
[ "$(id -u)" -ne 0 ] || WORKERS_AS="user root;"

[ -f "$BROTLI_MODULE" ] || fail "no Brotli module for nginx: run scripts/install-deps.sh test"
mkdir -p "$PREFIX/temp"
cat >"$PREFIX/nginx.conf" <<CONF
load_module $BROTLI_MODULE;
$WORKERS_AS
daemon off;
worker_processes 1;
pid $PREFIX/nginx.pid;
error_log $PREFIX/error.log;
events {}
http {
    include /etc/nginx/mime.types;
    default_type application/octet-stream;
    access_log off;
    client_body_temp_path $PREFIX/temp/body;
    proxy_temp_path $PREFIX/temp/proxy;
    fastcgi_temp_path $PREFIX/temp/fastcgi;
    uwsgi_temp_path $PREFIX/temp/uwsgi;
    scgi_temp_path $PREFIX/temp/scgi;
    server {
        listen 127.0.0.1:$PORT;
        root $SITE;
        include $ROOT/web/nginx/quoravint-site.conf;
        location /reference/ { alias $REFERENCE/; }
    }
}
CONF

set -m   # nginx gets a process group of its own, so it can be ended whole
nginx -p "$PREFIX" -c "$PREFIX/nginx.conf" -e "$PREFIX/error.log" &
SERVER=$!
trap 'kill -- -$SERVER 2>/dev/null; rm -rf "$PREFIX"' EXIT
for _ in $(seq "$WAIT_TRIES"); do
  curl -sf "$BASE/" >/dev/null && break
  sleep 0.1
done

# The header $2 of the answer to $1 with the request headers after it.
header() {
  local url=$1 name=$2
  shift 2
  curl -sf -o /dev/null -D - "$@" "$BASE/$url" | tr -d '\r' | awk -v name="$name" 'tolower($1) == tolower(name) ":" { $1 = ""; sub(/^ /, ""); print }'
}

# Fails unless the header $2 of $1 (requested with the headers after $3) is $3.
expect_header() {
  local url=$1 name=$2 want=$3 got
  shift 3
  got=$(header "$url" "$name" "$@") || fail "no answer for /$url"
  [ "$got" = "$want" ] || fail "/$url $*: $name is '$got', not '$want'"
}

WASM=$(cd "$SITE" && ls quoravint.*.wasm | grep -v '\.\(gz\|br\)$')
YEAR="public, max-age=31536000, immutable"
expect_header "" Content-Type "text/html; charset=utf-8"
expect_header "" Cache-Control no-cache
expect_header sw.js Cache-Control no-cache
expect_header manifest.webmanifest Content-Type application/manifest+json
expect_header "$WASM" Content-Type application/wasm
expect_header "$WASM" Cache-Control "$YEAR"
expect_header "$WASM" Content-Encoding br -H "Accept-Encoding: gzip, br"
expect_header "$WASM" Content-Encoding gzip -H "Accept-Encoding: gzip"
expect_header "$WASM" Content-Encoding "" -H "Accept-Encoding: identity"
expect_header "$(cd "$SITE" && ls -d assets.*/ | head -n 1)names.txt" Cache-Control "$YEAR"
echo "nginx serves the site at $BASE with the right types, compression and caching"

QUORAVINT_WEB_BASE=$BASE node "$CHECKS/browser_tests.mjs" "$SITE" "$REFERENCE" "$@"
