#include "headless.h"

#include "entity.h"
#include "entityswarm.h"
#include "file.h"
#include "gfx.h"
#include "host_services.h"
#include "scene.h"
#include "sceneswarm.h"

#include <cstdlib>

void start_fixed_show()
{
    init_text();
    seed_show_random(BENCH_SEED);
}

SCENE* shown_scene()
{
    for (SCENE* scene : sceneswarm.scenes)
        if (scene->visible)
            return scene;
    return nullptr;
}

const char* mode_name(int mode)
{
    switch (mode) {
    case MODE_IDLE: return "idle";
    case MODE_WANDER: return "wander";
    case MODE_BUILDFUTURE: return "buildfuture";
    case MODE_VACUUM: return "vacuum";
    case MODE_CLIMB: return "climb";
    case MODE_SKYNAMES: return "skynames";
    default: return "?";
    }
}

long swarm_population(ENTITYSWARM* swarm)
{
    long count = 0;
    for (ENTITY* e : swarm->entities)
        count += 1 + e->nchildren();
    return count;
}

std::vector<std::pair<const char*, ENTITYSWARM*>> scene_layers(SCENE* scene)
{
    std::vector<std::pair<const char*, ENTITYSWARM*>> layers;
    for (const SceneLayer& layer : TICK_ORDER)
        layers.emplace_back(layer.name, scene->*layer.swarm);
    return layers;
}

long scene_population(SCENE* scene)
{
    long count = 0;
    for (const auto& layer : scene_layers(scene))
        count += swarm_population(layer.second);
    return count;
}
