// Entity swarms: the ordered, owning lists that hold a scene layer's or an entity's entities.
#ifndef ENTITYSWARM_H
#define ENTITYSWARM_H

#include "entity.h"
#include "geometry.h"

#include <cstddef>
#include <list>
#include <string>

class SCENE;

constexpr std::size_t MAX_SWARM_ENTITIES = 20000;   // cap that bounds the cost of one swarm

// An ordered list of entities that owns them, linked up to a scene or an owner entity.
class ENTITYSWARM {
public:
    std::list<ENTITY*> entities;   // insertion order: processing and drawing order
    int drawmode;                  // 1: world swarm (angle, radius), 0: flat swarm (screen pixels)
    float scale;                   // layer scale, consulted only in a scene's swarm
    SCENE* scene;                  // the scene holding this swarm, or null
    ENTITY* owner;                 // the entity whose child swarm this is, or null

    ENTITYSWARM(SCENE* scene, float scale);
    ENTITYSWARM(ENTITY* owner, float scale);
    ~ENTITYSWARM();
    ENTITYSWARM(const ENTITYSWARM&) = delete;
    ENTITYSWARM& operator=(const ENTITYSWARM&) = delete;

    bool add_entity(ENTITY* e);
    ENTITY* spawn(ENTITY* parent, float x, float y, int type, float vx = 0, const std::string& text = NO_TEXT,
                  const PREPARE& prepare = nullptr);
    bool entnearx(int type, ENTITY* who);
    ENTITY* randent(int type);
    float get_scale();
    void process();
};

#endif
