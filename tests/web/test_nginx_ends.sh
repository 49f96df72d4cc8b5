#!/usr/bin/env bash
# A test's private nginx (tests/web/private_nginx.sh) ends with the test however the test ends:
# for each signal, a script that started one is sent it while nginx answers, and every process
# the script had started must be gone within moments, its folder too.
# Usage: test_nginx_ends.sh
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
GONE_TRIES=50    # tenths of a second the processes may take to end
READY_TRIES=900  # tenths of a second at most for the script's nginx to answer: its own check and
                 # wait for nginx come first, and a loaded machine stretches both
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# The descendants of the process $1 that are nginx, one PID a line.
nginx_family() {
  local child
  for child in $(ps -o pid= --ppid "$1"); do
    [ "$(ps -o comm= -p "$child")" != nginx ] || echo "$child"
    nginx_family "$child"
  done
}

# Whether none of the PIDs on standard input runs any longer, after waiting GONE_TRIES at most.
all_gone() {
  local pids
  pids=$(cat)
  for _ in $(seq "$GONE_TRIES"); do
    # shellcheck disable=SC2086  # one PID a word
    ps -o pid= -p $(echo $pids | tr ' ' ,) >/dev/null || return 0
    sleep 0.1
  done
  return 1
}

failures=0
for signal in KILL TERM INT HUP; do
  : >"$WORK/ready"
  # A test script of its own, in a process group of its own as a test is (and so not deaf to
  # SIGINT): a private nginx, then a wait as long as a browser check.
  set -m
  bash -c '
    source "$1/private_nginx.sh"
    port=$((20000 + RANDOM % 20000))
    # Temporary files in its own folder: Debian'"'"'s /var/lib/nginx is root'"'"'s, and a test may run as a user.
    temp="client_body_temp_path $NGINX_PREFIX/body; proxy_temp_path $NGINX_PREFIX/proxy;"
    temp+=" fastcgi_temp_path $NGINX_PREFIX/fastcgi; uwsgi_temp_path $NGINX_PREFIX/uwsgi; scgi_temp_path $NGINX_PREFIX/scgi;"
    printf "pid %s/nginx.pid;\nevents {}\nhttp { access_log off; %s server { listen 127.0.0.1:%s; return 204; } }\n" \
      "$NGINX_PREFIX" "$temp" "$port" >"$NGINX_PREFIX/nginx.conf"
    start_nginx "http://127.0.0.1:$port/" -p "$NGINX_PREFIX" -c "$NGINX_PREFIX/nginx.conf" -e "$NGINX_LOG"
    echo "$NGINX_PREFIX" >"$2"
    sleep 600 & wait' _ "$HERE" "$WORK/ready" &
  script=$!
  set +m
  # The script's own start_nginx gives up after its own wait: until then, however long a loaded
  # machine makes nginx's check and start, the script is waited for.
  for _ in $(seq "$READY_TRIES"); do
    [ -s "$WORK/ready" ] || ! kill -0 "$script" 2>/dev/null && break
    sleep 0.1
  done
  [ -s "$WORK/ready" ] || { echo "FAIL [$signal]: the script's nginx never answered" >&2; failures=$((failures + 1)); continue; }
  prefix=$(cat "$WORK/ready")
  pids=$(nginx_family "$script")
  [ -n "$pids" ] || { echo "FAIL [$signal]: no nginx under the script" >&2; failures=$((failures + 1)); }
  kill -"$signal" "$script"
  wait "$script" 2>/dev/null || true
  kill -- -"$script" 2>/dev/null || true   # the script's stand-in for a browser check, left by SIGKILL
  if ! echo "$pids" | all_gone; then
    echo "FAIL [$signal]: still running: $(ps -o pid=,args= -p "$(echo $pids | tr ' ' ,)")" >&2
    echo "$pids" | xargs kill 2>/dev/null || true   # the test leaves nothing running either
    failures=$((failures + 1))
  fi
  [ "$signal" = KILL ] || [ ! -e "$prefix" ] || { echo "FAIL [$signal]: $prefix is left behind" >&2; failures=$((failures + 1)); }
  rm -rf "$prefix"
done
[ "$failures" -eq 0 ] || exit 1
echo "a private nginx ends with its test on SIGKILL, SIGTERM, SIGINT and SIGHUP"
