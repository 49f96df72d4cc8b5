# Private nginx servers for the tests, sourced: Debian's nginx in a folder of the test's own. The
# system's nginx is never started, reloaded or changed, and the private one ends with the test
# however the test ends, even killed outright. Sets NGINX_PREFIX (the folder, removed at the end);
# fail() prints NGINX_LOG, nginx's error log.

NGINX_WAIT_TRIES=50                        # tenths of a second nginx may take to answer
NGINX_PREFIX=$(mktemp -d)
NGINX_LOG=$NGINX_PREFIX/error.log
NGINX_PID=""

# Fails the test with a message and nginx's log.
fail() {
  echo "FAIL: $*" >&2
  cat "$NGINX_LOG" >&2 2>/dev/null || true
  exit 1
}

# Ends the private nginx, if it runs, and removes its folder.
end_nginx() {
  [ -z "$NGINX_PID" ] || { kill -- -"$NGINX_PID" 2>/dev/null; wait "$NGINX_PID" 2>/dev/null; }
  NGINX_PID=""
  rm -rf "$NGINX_PREFIX"
}
trap end_nginx EXIT   # bash runs it also when SIGINT, SIGTERM or SIGHUP ends the script

# Fails unless nginx, with the arguments given, takes its configuration without an error or a warning.
check_nginx() {
  nginx "$@" -t 2>"$NGINX_PREFIX/check.log" || fail "nginx -t $*: $(cat "$NGINX_PREFIX/check.log")"
  ! grep -q "\[warn\]" "$NGINX_PREFIX/check.log" || fail "nginx -t $* warns: $(cat "$NGINX_PREFIX/check.log")"
}

# Starts nginx with the arguments after the address $1 and waits until that address answers. nginx
# stays in the foreground as this script's child, in a process group of its own, and gets SIGTERM
# when the script ends.
start_nginx() {
  local url=$1
  shift
  check_nginx "$@"
  set -m
  setpriv --pdeathsig TERM nginx "$@" -g "daemon off;" &
  NGINX_PID=$!
  set +m
  for _ in $(seq "$NGINX_WAIT_TRIES"); do
    curl -s -o /dev/null "$url" && return 0
    kill -0 "$NGINX_PID" 2>/dev/null || fail "nginx ended at start-up"
    sleep 0.1
  done
  fail "nginx did not answer at $url"
}
