#include "entityswarm.h"

#include "entity.h"
#include "host_services.h"
#include "scene.h"
#include "trace.h"

#include <cstdlib>
#include <vector>

// A scene's layer: a world swarm of the given scale.
ENTITYSWARM::ENTITYSWARM(SCENE* scene, float scale)
    : drawmode(1), scale(scale), scene(scene), owner(nullptr)
{
}

// An entity's child swarm; its scale comes from the layer at the root.
ENTITYSWARM::ENTITYSWARM(ENTITY* owner, float)
    : drawmode(1), scale(1.0f), scene(nullptr), owner(owner)
{
}

// Destroys every entity still in the swarm.
ENTITYSWARM::~ENTITYSWARM()
{
    for (ENTITY* e : entities)
        delete e;
}

// Appends the entity and takes ownership of it; a full swarm destroys it instead and says so.
bool ENTITYSWARM::add_entity(ENTITY* e)
{
    if (entities.size() >= MAX_SWARM_ENTITIES) {
        delete e;   // refused: nobody else would ever release it
        return false;
    }
    trace() << "ADD ";
    if (scene)
        trace() << "(" << scene->camangle << "," << scene->camy << ")";
    entities.push_back(e);
    return true;
}

// Builds an entity the way every creator in the show does (no vertical speed, limit 0, mode
// STATE_IDLE), lets `prepare` finish it and hands it to this swarm. Null when the swarm was
// full and destroyed it, so no caller is left holding a freed entity.
ENTITY* ENTITYSWARM::spawn(ENTITY* parent, float x, float y, int type, float vx, const std::string& text,
                           const PREPARE& prepare)
{
    ENTITY* e = new ENTITY(this, parent, x, y, type, vx, 0, 0, text, STATE_IDLE);
    if (prepare)
        prepare(*e);
    return add_entity(e) ? e : nullptr;
}

// Whether an entity of `type` stands within 120 pixels of arc of `who`, along x.
bool ENTITYSWARM::entnearx(int type, ENTITY* who)
{
    const float wx = who->absx();
    const float wy = who->absy();
    const float r = NEAR_ARC / wy;
    for (ENTITY* e : entities) {
        if (e->type != type)
            continue;
        const float ex = e->absx();
        trace() << "CHECK " << who->type << ":x " << wx << " " << e->type << ": " << ex;
        if (ex > wx - r && ex < wx + r) {
            trace() << "PROXIMITY TYPE " << e->type << std::endl;
            return true;
        }
    }
    trace() << std::endl;
    return false;
}

// A random live entity of `type`, or null when there is none.
ENTITY* ENTITYSWARM::randent(int type)
{
    std::vector<ENTITY*> candidates;
    for (ENTITY* e : entities) {
        if (e->type == type && e->is_alive()) {
            candidates.push_back(e);
            trace() << "MATCH FOUND ";
        }
    }
    if (candidates.empty()) {
        trace() << "NO MATCHING ENTITIES TO FOLLOW FFF" << std::endl;
        return nullptr;
    }
    return candidates[static_cast<unsigned>(show_rand()) % candidates.size()];
}

// The scale of the layer at the root of this swarm's tree.
float ENTITYSWARM::get_scale()
{
    return owner ? owner->swarm->get_scale() : scale;
}

// One tick of every entity in list order; the dead are destroyed right after their tick.
void ENTITYSWARM::process()
{
    // The end is read anew at every step, so entities appended during the walk get their tick too.
    for (auto at = entities.begin(); at != entities.end();) {
        ENTITY* e = *at;
        e->process();
        if (e->is_alive()) {
            ++at;
            continue;
        }
        if (scene && scene->target == e)   // the camera stops following what is gone
            scene->target = nullptr;
        delete e;
        at = entities.erase(at);
    }
}
