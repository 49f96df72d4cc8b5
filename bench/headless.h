// The show without a window: what its logic needs from the run folder, and counts of its scenes.
#ifndef BENCH_HEADLESS_H
#define BENCH_HEADLESS_H

#include <utility>
#include <vector>

class ENTITYSWARM;
class SCENE;

constexpr unsigned BENCH_SEED = 20240601;   // fixed seed: every benchmark and soak run plays the same show

// Reads the names from the working directory and seeds the generator with BENCH_SEED: what the
// show's logic needs besides the font, minus sound (effects then trace "Sound out of range.").
void start_fixed_show();

// The scene on screen, or null while none is.
SCENE* shown_scene();

// The name of a scene mode, as the timeline sets it; "?" for any other value.
const char* mode_name(int mode);

// Every entity a swarm holds, its entities' children and their children included.
long swarm_population(ENTITYSWARM* swarm);

// Every entity of a scene, over all six layers.
long scene_population(SCENE* scene);

// The six layers of a scene, named, in the order the scene processes them.
std::vector<std::pair<const char*, ENTITYSWARM*>> scene_layers(SCENE* scene);

#endif
