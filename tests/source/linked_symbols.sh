# What the hosts were linked from replaces no function of another library: no program, object or
# archive in a build folder defines a function of SDL, SDL_image or SDL_mixer, or of the C library
# the show draws on (sinf, cosf, rand, srand). The source check (test_host_seams.sh) reads what is
# written; this reads what was built.
#
#   linked_symbols.sh NM BUILD_FOLDER    NM: nm for native builds, Emscripten's emnm for the browser's
set -u
NM=${1:?usage: $0 <nm> <build folder>}
BUILD=${2:?usage: $0 <nm> <build folder>}

REPLACED='^((SDL|Mix|IMG)_[A-Za-z0-9_]+|sinf|cosf|rand|srand) [TtWwDdBbVv] '   # a definition, in nm -P's format

[ -d "$BUILD" ] || { echo "FAIL: no build folder $BUILD" >&2; exit 1; }
# Every file nm can read, leaving out CMake's probes of the compilers (CMakeFiles/VERSION/).
mapfile -d '' files < <(find "$BUILD" -type f \( -name '*.o' -o -name '*.a' -o -perm -u+x \) \
                          ! -regex '.*/CMakeFiles/[0-9][^/]*/.*' -print0)
read_files=0
found=""
for file in "${files[@]}"; do
  symbols=$("$NM" --defined-only -P "$file" 2>/dev/null) || continue   # a script or another file nm cannot read
  read_files=$((read_files + 1))
  replaced=$(echo "$symbols" | sed 's/^[^ ]*: //' | grep -E "$REPLACED" | sed "s|^|$file: |")
  found+=${replaced:+$replaced$'\n'}
done

[ "$read_files" -gt 0 ] || { echo "FAIL: nothing in $BUILD that $NM can read" >&2; exit 1; }
if [ -n "$found" ]; then
  echo "FAIL: a function of another library is defined in what the hosts link; the host services (src/host_services.h) are the way:" >&2
  printf '%s' "$found" >&2
  exit 1
fi
echo "$read_files programs, objects and archives in $BUILD: no function of another library defined"
