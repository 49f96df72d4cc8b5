#!/usr/bin/env bash
# scripts/serve-web.sh serves the site on this machine: it prints the address, and the page, the
# program and an asset come back from it, the program with the type browsers compile from.
# Usage: test_serve.sh <site folder>
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SITE=${1:?usage: test_serve.sh SITE}
PORT=$((20000 + RANDOM % 20000))   # a free-looking port, apart from other runs on this machine
WAIT_TRIES=50                      # tenths of a second the server may take to answer
LOG=$(mktemp)

set -m   # the server gets a process group of its own, so it can be ended whole
bash "$ROOT/scripts/serve-web.sh" "$SITE" "$PORT" >"$LOG" 2>&1 &
SERVER=$!
trap 'kill -- -$SERVER 2>/dev/null; rm -f "$LOG"' EXIT

# Fails the test with a message.
fail() {
  echo "FAIL: $*" >&2
  cat "$LOG" >&2
  exit 1
}

for _ in $(seq "$WAIT_TRIES"); do
  curl -sf "http://localhost:$PORT/" >/dev/null && break
  sleep 0.1
done
grep -q "http://localhost:$PORT/" "$LOG" || fail "the address is not printed"
curl -sf "http://localhost:$PORT/" | grep -q "<title>Quoravint</title>" || fail "no page at the address"
program=$(cd "$SITE" && ls quoravint.*.wasm | grep -v '\.\(gz\|br\)$')
type=$(curl -sf -o /dev/null -w '%{content_type}' "http://localhost:$PORT/$program") || fail "no program"
[ "$type" = application/wasm ] || fail "the program is served as '$type'"
curl -sf "http://localhost:$PORT/$(cd "$SITE" && ls -d assets.*/ | head -n 1)names.txt" >/dev/null || fail "no names file"
echo "serve-web.sh serves the site at http://localhost:$PORT/"
