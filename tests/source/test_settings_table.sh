# The settings people give the programs through their environment are named once, in
# src/settings.h's table: no other source of the programs writes a setting's name in a string or
# reads a QUORAVINT_ setting of its own, and docs/screens.md, the settings' page, lists each one.
set -u
TREE=${1:?usage: $0 <source tree>}
TABLE=src/settings.h
DOCS=docs/screens.md
PROGRAM_FOLDERS="src native capture programs bench"   # where the programs' code is

cd "$TREE" || exit 1
[ -f "$TABLE" ] || { echo "FAIL: $TREE holds no $TABLE" >&2; exit 1; }
FAILED=0
# Reports a fault and marks the test failed.
fault() {
  echo "FAIL: $*" >&2
  FAILED=1
}

names=$(sed -n 's/^ *{Setting::[A-Z_]*, "\([A-Z_]*\)".*/\1/p' "$TABLE")
[ -n "$names" ] || fault "$TABLE lists no setting"
# shellcheck disable=SC2086  # one word per folder
sources=$(find $PROGRAM_FOLDERS -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) \
          ! -path "src/settings.*")
for name in $names; do
  # shellcheck disable=SC2086
  written=$(grep -n -H "\"$name" $sources)
  [ -z "$written" ] || fault "$name is written outside $TABLE (read it through its row): $written"
  grep -q "\`$name" "$DOCS" || fault "$name is not listed in $DOCS"
done
# shellcheck disable=SC2086
unlisted=$(grep -n -H -E 'getenv\("QUORAVINT_' $sources)
[ -z "$unlisted" ] || fault "a QUORAVINT_ setting is read without a row in $TABLE: $unlisted"

[ "$FAILED" -eq 0 ] && echo "$(echo "$names" | wc -l) settings, each named once in $TABLE and listed in $DOCS"
exit "$FAILED"
