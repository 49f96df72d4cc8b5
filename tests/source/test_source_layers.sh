# The show's sources stand in layers: a file in src/ includes only files of its own layer or of the
# layers below it, never one of the hosts' folders, and no chain of includes leads from a file back
# to itself. A new file of src/ must be given its layer here.
set -u
SRC=${1:?usage: $0 <source tree>}/src

# The layers of src/, lowest first, by module (name.h and name.cpp). profile.h is the build's own
# screen profile, written beside each target.
LAYERS=(
  "ticks geometry sprites showfiles sprite_alpha tick_input user_number settings profile show_trig mix_core"  # numbers, lists, plain data
  "trace common file font sound show_end host_services"     # what the show's logic asks for
  "entity entityswarm scene sceneswarm"                     # the model: scenes, their layers, entities
  "driver"                                                  # the tick and the main loop's clock
  "screen"                                                  # the drawing surface and the frame's fit
  "quad_geometry sprite_texture drawpath show_drawing gfx"  # drawing, which reads the model
  "main"                                                    # the programs' start and loop
)

FAILED=0
# Reports a fault and marks the test failed.
fault() {
  echo "FAIL: $*" >&2
  FAILED=1
}

declare -A LAYER_OF
for ((i = 0; i < ${#LAYERS[@]}; i++)); do
  for module in ${LAYERS[i]}; do LAYER_OF[$module]=$i; done
done

EDGES=$(mktemp)
trap 'rm -f "$EDGES"' EXIT
for path in "$SRC"/*.h "$SRC"/*.cpp; do
  file=$(basename "$path")
  module=${file%.*}
  from=${LAYER_OF[$module]:-}
  [ -n "$from" ] || { fault "src/$file stands in no layer (tests/source/test_source_layers.sh)"; continue; }
  echo "$file $file" >>"$EDGES"
  while read -r included; do
    echo "$file $included" >>"$EDGES"
    to=${LAYER_OF[${included%.*}]:-}
    if [ -z "$to" ] || { [ ! -e "$SRC/$included" ] && [ "$included" != profile.h ]; }; then
      fault "src/$file includes $included, which is not a file of src/"
    elif ((to > from)); then
      fault "src/$file includes $included, which stands in a layer above it"
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$path")
done

# tsort names every file on a chain of includes that leads back to where it started.
if ! tsort "$EDGES" >/dev/null 2>"$EDGES.loops"; then
  fault "a chain of includes leads back to its start: $(grep -v 'input contains a loop' "$EDGES.loops" | tr '\n' ' ')"
fi
rm -f "$EDGES.loops"

[ "$FAILED" -eq 0 ] && echo "src/: $(ls "$SRC" | wc -l) files in ${#LAYERS[@]} layers, no include upward, no loop"
exit "$FAILED"
