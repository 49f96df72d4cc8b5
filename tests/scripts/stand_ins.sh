# shellcheck shell=bash
# What the script tests share, sourced after they set SOURCE (the source folder) and WORK (their
# scratch folder): trees with copies of the scripts, stand-in tools that record their arguments on a
# PATH of their own, running a script there, and judging what it did.

failures=0
TREES=0       # trees made so far, to name the next one (a case's name holds a colon, which PATH cannot)
TREE_ENV=()   # settings of a test's own that every script in the tree runs with

# Reports a failed case and counts it.
fail() {
  echo "FAIL [$CASE]: $*" >&2
  failures=$((failures + 1))
}

# Makes a fresh tree in $TREE with copies of the source folders named (e.g. scripts), a stand-in
# folder $FAKES first on PATH, and $CALLS, where the stand-ins record their arguments.
new_tree() {
  TREES=$((TREES + 1))
  TREE=$WORK/$TREES
  FAKES=$TREE/fakes
  CALLS=$TREE/calls
  mkdir -p "$TREE" "$FAKES"
  local folder
  for folder in "$@"; do cp -r "$SOURCE/$folder" "$TREE/"; done
  : >"$CALLS"
}

# Writes a stand-in command $1 (in $FAKES) that records its name and arguments, then runs the body $2.
fake() {
  printf '#!/usr/bin/env bash\necho "%s $*" >>"%s"\n%s\n' "$1" "$CALLS" "${2:-exit 0}" >"$FAKES/$1"
  chmod +x "$FAKES/$1"
}

# Sets ENV to the environment the tree's scripts run in: the stand-ins first, then TREE_ENV.
stand_in_env() {
  ENV=(PATH="$FAKES:$PATH" "${TREE_ENV[@]}")
}

# Runs a command in that environment; its output goes to $OUT, its status to $STATUS.
run() {
  OUT=$TREE/out
  STATUS=0
  stand_in_env
  env "${ENV[@]}" "$@" >"$OUT" 2>&1 || STATUS=$?
}

# Expects status $1: 0, or "fail" for any other.
expect_status() {
  if [ "$1" = fail ]; then
    [ "$STATUS" -ne 0 ] || fail "ended with status 0: $(cat "$OUT")"
  else
    [ "$STATUS" -eq "$1" ] || fail "ended with status $STATUS, expected $1: $(tail -n 5 "$OUT")"
  fi
}

# Expects status $1 and the output to hold $2 (nothing at all when $2 is empty).
expect() {
  expect_status "$1"
  if [ -z "$2" ]; then
    [ ! -s "$OUT" ] || fail "printed \"$(cat "$OUT")\", expected nothing"
  else
    grep -qF -- "$2" "$OUT" || fail "did not say \"$2\": $(tail -n 5 "$OUT")"
  fi
}
