# shellcheck shell=bash
# What the project's scripts share: their messages, how long a step took, the virtual X screen
# the show runs under, and running a command as root. A script sources it with the name its messages begin with:
#   source "$ROOT/scripts/lib.sh" test.sh      # then `say built` writes "test.sh: built" to standard error

MESSAGE_PREFIX="${1:?usage: source lib.sh NAME, the name its messages begin with}: "
XVFB_SIZE=1920x1080   # the virtual screen: large enough for demo-hd; demo's mode shows centred in it

# Writes a message of this script to standard error.
say() {
  echo "$MESSAGE_PREFIX$*" >&2
}

# Ends the script with the message $1; status $2, 1 by default.
die() {
  say "$1"
  exit "${2:-1}"
}

# Prints the time since SECONDS was $1 (default 0: since the script started) as minutes and seconds.
took() {
  local seconds=$((SECONDS - ${1:-0}))
  echo "$((seconds / 60)) min $((seconds % 60)) s"
}

# Prints the X server arguments of a virtual screen of size $1 (WIDTHxHEIGHT, default XVFB_SIZE) in
# 24-bit colour. -noreset keeps the server up when its last client leaves: SDL 1.2 opens the display
# twice, and a resetting server turns the next program away.
xvfb_args() {
  echo "-screen 0 ${1:-$XVFB_SIZE}x24 -noreset"
}

# Runs a command as root: through sudo for a user who may use it. sudo resets the environment, so
# the answer to debconf's questions is passed on the command line, not exported.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    env DEBIAN_FRONTEND=noninteractive "$@"
  else
    sudo DEBIAN_FRONTEND=noninteractive "$@"
  fi
}
