# The show's core reaches its platform only through what its hosts hand it: outside the hosts'
# folders no file replaces a symbol of another library at link time or load time. Named here:
# a lookup of the next definition (RTLD_NEXT), a weak definition a host may override, and a
# definition of an SDL or SDL_mixer function.
set -u
TREE=${1:?usage: $0 <source tree>}

HOSTS="capture web programs bench tests fuzz"   # each of these folders is a host or a host's fixture
CORE="src assetgen profiles"                    # everything else with sources the hosts build on

FAILED=0
for folder in $CORE; do
  [ -d "$TREE/$folder" ] || { echo "FAIL: no folder $folder in $TREE" >&2; FAILED=1; continue; }
  sources=$(find "$TREE/$folder" -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' -o -name '*.in' \))
  [ -n "$sources" ] || continue
  # shellcheck disable=SC2086  # one word per file: the tree's names hold no blanks
  found=$(grep -n -H -E 'RTLD_NEXT|__attribute__ *\(\( *weak|^[A-Za-z_][A-Za-z0-9_:<>*& ]*\b(Mix|SDL)_[A-Za-z0-9_]+ *\([^;]*$' \
    $sources)
  if [ -n "$found" ]; then
    echo "FAIL: the core replaces a symbol or defines an SDL function; only a host (${HOSTS// /, }) may:" >&2
    echo "${found//$TREE\//}" >&2
    FAILED=1
  fi
done
[ "$FAILED" -eq 0 ] && echo "no symbol replacement and no SDL definition in $CORE"
exit "$FAILED"
