# Everything people type is named once, in src/settings.h's tables: no other source writes a
# setting's or an option's name as a string of its own, no QUORAVINT_ setting is read without its
# row, and each name is listed on the docs page of the place where it is typed.
set -u
TREE=${1:?usage: $0 <source tree>}
TABLE=src/settings.h
CODE_FOLDERS="src native capture programs bench web"   # the code of the programs and their hosts

cd "$TREE" || exit 1
[ -f "$TABLE" ] || { echo "FAIL: $TREE holds no $TABLE" >&2; exit 1; }
FAILED=0
# Reports a fault and marks the test failed.
fault() {
  echo "FAIL: $*" >&2
  FAILED=1
}

# One row per place people type settings: the sed script that takes its names from its table's
# rows, how a name is written in the code (NAME stands for it), its docs page, and how the page
# writes a name.
PLACES=(
  'environment # s/^ *{Setting::[A-Z_]*, "\([A-Z_]*\)".*/\1/p # "NAME # docs/screens.md # `NAME'
  'capture # s/^ *{CaptureOption::[A-Z_]*, \(nullptr\|"\(-[a-z]\)"\), "\(--[a-z-]*\)".*/\2 \3/p # "NAME" # docs/capture.md # `NAME'
  'page # s/^ *{PageOption::[A-Z_]*, "\([a-z]*\)".*/\1/p # "NAME" # docs/browser.md # [?\&]NAME'
)

# shellcheck disable=SC2086  # one word per folder
sources=$(find $CODE_FOLDERS -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) ! -path "src/settings.*")
total=0
for place in "${PLACES[@]}"; do
  IFS='#' read -r where names_of code_form docs docs_form <<< "${place// # /#}"
  names=$(sed -n "$names_of" "$TABLE")
  [ -n "$names" ] || fault "$TABLE lists no $where setting"
  for name in $names; do
    total=$((total + 1))
    # shellcheck disable=SC2086
    written=$(grep -n -H -F -- "${code_form//NAME/$name}" $sources)
    [ -z "$written" ] || fault "$name is written outside $TABLE (read it through its row): $written"
    grep -q -- "${docs_form//NAME/$name}" "$docs" || fault "the $where's $name is not listed in $docs"
  done
done
# shellcheck disable=SC2086
unlisted=$(grep -n -H -E 'getenv\("QUORAVINT_' $sources)
[ -z "$unlisted" ] || fault "a QUORAVINT_ setting is read without a row in $TABLE: $unlisted"

[ "$FAILED" -eq 0 ] && echo "$total names, each written once in $TABLE and listed in the docs"
exit "$FAILED"
