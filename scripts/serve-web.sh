#!/usr/bin/env bash
# Serves the site that scripts/build-web.sh wrote on this machine only, and prints its address.
#
#   scripts/serve-web.sh [SITE] [PORT]     SITE defaults to build-web/site, PORT to 8014
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
SITE=${1:-${QUORAVINT_WEB_BUILD:-$ROOT/build-web}/site}
PORT=${2:-8014}   # an unprivileged port few other programs use

if [ ! -f "$SITE/index.html" ]; then
  echo "serve-web.sh: no site in $SITE: build it with scripts/build-web.sh" >&2
  exit 1
fi
echo "Quoravint: open http://localhost:$PORT/ (1920 x 1080: http://localhost:$PORT/?hd); Ctrl-C stops"
exec python3 -m http.server "$PORT" --bind 127.0.0.1 --directory "$SITE"
