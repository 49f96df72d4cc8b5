# The show's core reaches its platform only through what its hosts hand it (src/host_services.h):
# no file replaces a function of another library at link time or load time. Named here: a lookup
# of the next definition (RTLD_NEXT) or of any symbol (dlsym), a weak definition a host may
# override, a program's symbol exported for the libraries it loads (--export-dynamic), and a
# definition of a C library function the show draws on (sinf, cosf, rand, srand) or of an SDL,
# SDL_image or SDL_mixer function.
set -u
TREE=${1:?usage: $0 <source tree>}

REPLACING='RTLD_NEXT|dlsym *\(|__attribute__ *\(\( *weak|export-dynamic'
DEFINITION='^[A-Za-z_][A-Za-z0-9_:<>*&" ]*\b((Mix|SDL|IMG)_[A-Za-z0-9_]+|sinf|cosf|rand|srand) *\([^;]*$'

cd "$TREE" || exit 1
[ -d src ] || { echo "FAIL: $TREE holds no src/" >&2; exit 1; }
# Every folder of sources; a build folder (it holds CMakeCache.txt) is made, not written.
folders=$(for folder in */; do [ -e "$folder/CMakeCache.txt" ] || echo "${folder%/}"; done)
# shellcheck disable=SC2086  # one word per folder: the tree's names hold no blanks
found=$(find $folders -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' -o -name '*.in' -o -name CMakeLists.txt \
                                 -o -name '*.cmake' \) -print0 |
  xargs -0 grep -n -H -E "$REPLACING|$DEFINITION")
if [ -n "$found" ]; then
  echo "FAIL: a function of another library is replaced; the host services (src/host_services.h) are the way:" >&2
  echo "$found" >&2
  exit 1
fi
echo "no symbol replaced in $(echo $folders | wc -w) folders"
