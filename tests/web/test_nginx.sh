#!/usr/bin/env bash
# Debian's nginx serves the site with the repository's rules (web/nginx/quoravint-site.conf) on a
# loopback port: the right types, the precompressed Brotli and gzip copies, long caching for the
# hashed files and none for the page, the server's own headers kept beside the rules' nosniff and
# content policy; then the browser checks named after the folders run against it.
# Usage: test_nginx.sh SITE REFERENCE CHECKS_FOLDER [CHECK...]
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SITE=$(cd "${1:?usage: test_nginx.sh SITE REFERENCE CHECKS [CHECK...]}" && pwd)
REFERENCE=$(cd "${2:?usage: test_nginx.sh SITE REFERENCE CHECKS [CHECK...]}" && pwd)
CHECKS=${3:?usage: test_nginx.sh SITE REFERENCE CHECKS [CHECK...]}
shift 3
PORT=$((20000 + RANDOM % 20000))   # a free-looking port, apart from other runs on this machine
BROTLI_MODULE=/usr/lib/nginx/modules/ngx_http_brotli_static_module.so   # libnginx-mod-http-brotli-static
BASE=http://127.0.0.1:$PORT
# An administrator's own headers in the server block that includes the rules: every answer keeps them.
ADMIN_HEADERS=("Strict-Transport-Security: max-age=63072000" "Referrer-Policy: no-referrer")
# shellcheck source=private_nginx.sh
source "$ROOT/tests/web/private_nginx.sh"

# Started as root, nginx's workers become nobody, who may not read a site under root's home: they
# stay who started the test instead (a loopback server of the test's own).
WORKERS_AS=""
[ "$(id -u)" -ne 0 ] || WORKERS_AS="user root;"

[ -f "$BROTLI_MODULE" ] || fail "no Brotli module for nginx: run scripts/install-deps.sh test"
mkdir -p "$NGINX_PREFIX/temp"
cat >"$NGINX_PREFIX/nginx.conf" <<CONF
load_module $BROTLI_MODULE;
$WORKERS_AS
worker_processes 1;
pid $NGINX_PREFIX/nginx.pid;
error_log $NGINX_LOG;
events {}
http {
    include /etc/nginx/mime.types;
    default_type application/octet-stream;
    access_log off;
    client_body_temp_path $NGINX_PREFIX/temp/body;
    proxy_temp_path $NGINX_PREFIX/temp/proxy;
    fastcgi_temp_path $NGINX_PREFIX/temp/fastcgi;
    uwsgi_temp_path $NGINX_PREFIX/temp/uwsgi;
    scgi_temp_path $NGINX_PREFIX/temp/scgi;
    server {
        listen 127.0.0.1:$PORT;
        root $SITE;
$(for header in "${ADMIN_HEADERS[@]}"; do echo "        add_header ${header%%: *} \"${header#*: }\" always;"; done)
        include $ROOT/web/nginx/quoravint-site.conf;
        location /reference/ { alias $REFERENCE/; }
    }
}
CONF
start_nginx "$BASE/" -p "$NGINX_PREFIX" -c "$NGINX_PREFIX/nginx.conf" -e "$NGINX_LOG"

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
NAMES=$(cd "$SITE" && ls -d assets.*/ | head -n 1)names.txt
YEAR="public, max-age=31536000, immutable"
# Each answer: what is asked for, with which Accept-Encoding, and the header it must carry.
while IFS='|' read -r url encoding name want; do
  expect_header "$url" "$name" "$want" -H "Accept-Encoding: $encoding"
done <<ROWS
|gzip, br|Content-Type|text/html; charset=utf-8
|gzip, br|Cache-Control|no-cache
sw.js|gzip, br|Cache-Control|no-cache
manifest.webmanifest|gzip, br|Content-Type|application/manifest+json
manifest.webmanifest|gzip, br|Cache-Control|no-cache
$WASM|gzip, br|Content-Type|application/wasm
$WASM|gzip, br|Cache-Control|$YEAR
$WASM|gzip, br|Content-Encoding|br
$WASM|gzip|Content-Encoding|gzip
$WASM|identity|Content-Encoding|
$NAMES|gzip, br|Cache-Control|$YEAR
ROWS

# Every kind of answer, a missing file's too, keeps the administrator's headers and carries the
# rules' own: no type guessing, and a content policy that lets the page run WebAssembly.
POLICY=$(sed -n 's/^add_header Content-Security-Policy "\(.*\)" always;$/\1/p' "$ROOT/web/nginx/quoravint-site.conf")
for url in "" sw.js manifest.webmanifest "$WASM" "$NAMES" no-such-file; do
  for header in "${ADMIN_HEADERS[@]}" "X-Content-Type-Options: nosniff" "Content-Security-Policy: $POLICY"; do
    got=$(curl -s -o /dev/null -D - "$BASE/$url" | tr -d '\r' | grep -icxF "$header" || true)
    [ "$got" -eq 1 ] || fail "/$url carries '$header' $got times, not once"
  done
done
[[ $POLICY == *"script-src 'self' 'wasm-unsafe-eval'"* ]] || fail "the rules' content policy lets no WebAssembly run: '$POLICY'"
echo "nginx serves the site at $BASE with the right types, compression, caching and headers"

QUORAVINT_WEB_BASE=$BASE node "$CHECKS/browser_tests.mjs" "$SITE" "$REFERENCE" "$@"
