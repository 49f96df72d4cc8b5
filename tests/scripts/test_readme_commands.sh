#!/usr/bin/env bash
# Every command the README shows in its sh blocks is run by something that proves it: each line of
# those blocks, its trailing comment dropped, must be in the table below, and the runner the table
# names for it must hold it word for word. Fails when the README shows a command no runner has, when
# a runner no longer holds its command, or when the table names one the README no longer shows.
# Then the check itself, on copies with one command changed: each change must be caught.
# Usage: test_readme_commands.sh <source folder>
set -u

SOURCE=$(cd "${1:?usage: $0 <source folder>}" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quoravint-readme.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
failures=0

# "README command|the file that runs it, as printed": scripts/newcomer.sh runs the newcomer's
# commands in the clean room, the capture test the capture command.
RUNNERS='scripts/run.sh|scripts/newcomer.sh
scripts/run.sh hd|scripts/newcomer.sh
scripts/test.sh|scripts/newcomer.sh
scripts/test.sh --quick|scripts/newcomer.sh
apt-get install xvfb xauth|scripts/newcomer.sh
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" scripts/run.sh|scripts/newcomer.sh
cd build/run|scripts/newcomer.sh
./demo|scripts/newcomer.sh
./demo-capture --length 2 -o try.mp4|tests/capture/test_readme_capture.sh'

# The command lines of the sh blocks of the README $1, one a line, without their trailing comments.
readme_commands() {
  awk '/^```sh$/ { inside = 1; next } /^```/ { inside = 0 } inside' "$1" |
    sed -E 's/[[:space:]]+#.*$//; s/^[[:space:]]+//; s/[[:space:]]+$//' | grep -v '^$'
}

# Whether the file $2 holds the command $1 word for word outside its comments: not as a part of a
# longer word or path (./demo in ./demo-capture), but with arguments of its own after it allowed.
holds() {
  grep -v '^[[:space:]]*#' "$2" | grep -qP "(^|[\\s\"'(])\\Q$1\\E(\$|[\\s\"');|&])"
}

# Prints what is wrong between the README $1 and the runners in the tree $2, one problem a line.
problems() {
  local readme=$1 tree=$2 command runner
  while IFS= read -r command; do
    runner=$(awk -F '|' -v c="$command" '$1 == c { print $2; exit }' <<<"$RUNNERS")
    [ -n "$runner" ] || { echo "the README shows \`$command\`, which no runner runs"; continue; }
    holds "$command" "$tree/$runner" || echo "$runner does not run \`$command\` as the README prints it"
  done < <(readme_commands "$readme")
  while IFS='|' read -r command runner; do
    readme_commands "$readme" | grep -qxF -- "$command" ||
      echo "the table names \`$command\` ($runner), which the README no longer shows"
  done <<<"$RUNNERS"
}

# The tree and README as they are: nothing wrong.
found=$(problems "$SOURCE/README.md" "$SOURCE")
[ -z "$found" ] || { echo "FAIL: $found" >&2; failures=$((failures + 1)); }
count=$(readme_commands "$SOURCE/README.md" | wc -l)
[ "$count" -eq "$(wc -l <<<"$RUNNERS")" ] || { echo "FAIL: the README shows $count commands" >&2; failures=$((failures + 1)); }

# "case|file changed (README.md or a runner)|sed expression|what the check must say"
while IFS='|' read -r case file change expected; do
  copy=$WORK/tree
  rm -rf "$copy"
  mkdir -p "$copy/scripts" "$copy/tests/capture"
  cp "$SOURCE/README.md" "$copy/"
  cp "$SOURCE/scripts/newcomer.sh" "$copy/scripts/"
  cp "$SOURCE/tests/capture/test_readme_capture.sh" "$copy/tests/capture/"
  sed -i -E "$change" "$copy/$file"
  cmp -s "$copy/$file" "$SOURCE/$file" && { echo "FAIL [$case]: the change changed nothing" >&2; failures=$((failures + 1)); continue; }
  found=$(problems "$copy/README.md" "$copy")
  grep -qF -- "$expected" <<<"$found" ||
    { echo "FAIL [$case]: did not say \"$expected\": ${found:-nothing}" >&2; failures=$((failures + 1)); }
done <<'CASES'
a README command changed|README.md|s/^scripts\/run.sh hd /scripts\/run.sh --hd /|the README shows `scripts/run.sh --hd`, which no runner runs
a README command added|README.md|$a ```sh\nmake install\n```|the README shows `make install`, which no runner runs
a README command dropped|README.md|/^\.\/demo$/d|the table names `./demo` (scripts/newcomer.sh), which the README no longer shows
the capture command changed in the README|README.md|s/--length 2 -o try/--length 3 -o try/|the README shows `./demo-capture --length 3 -o try.mp4`
the runner runs another quick suite|scripts/newcomer.sh|s/--quick\) scripts\/test.sh --quick ;;/--quick) scripts\/test.sh -LE slow ;;/|scripts/newcomer.sh does not run `scripts/test.sh --quick`
the runner runs ./demo-hd instead|scripts/newcomer.sh|s/ \.\/demo"/ .\/demo-hd"/|scripts/newcomer.sh does not run `./demo`
the capture test runs another command|tests/capture/test_readme_capture.sh|s/--length 2 -o try.mp4/--length 2 -o "$OUTPUT"/|tests/capture/test_readme_capture.sh does not run `./demo-capture --length 2 -o try.mp4`
CASES

[ "$failures" -eq 0 ] || { echo "$failures failed case(s)" >&2; exit 1; }
echo "every command the README shows ($count) is run as printed"
