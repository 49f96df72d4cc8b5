// Entities: the animated objects of a scene, their kinds and behaviour.
#ifndef ENTITY_H
#define ENTITY_H

#include "geometry.h"
#include "sprites.h"

#include <functional>
#include <string>

class ENTITYSWARM;
class SCENE;

// Entity types; a value outside this range behaves like TYPE_RESERVED0.
enum {
    TYPE_RESERVED0 = 0,
    TYPE_CLOUD = 1,
    TYPE_TOWER = 2,
    TYPE_PIPE = 3,
    TYPE_DOME = 4,
    TYPE_RESERVED5 = 5,
    TYPE_SHRUB = 6,
    TYPE_SOCK = 7,
    TYPE_BLOCK = 8,
    TYPE_SKYSPAWNER = 9,
    TYPE_SPECK = 10,
    TYPE_SKY = 11,
    TYPE_TEXTFRAME = 12,
    TYPE_TEXTDOT = 13,
    TYPE_CEREAL = 14,
    TYPE_BOWL = 15,
    TYPE_GRASS = 16,
    TYPE_GROUNDCORE = 17,
    TYPE_STONESPAWNER = 18,
    TYPE_STONE = 19,
    TYPE_DOMEFLOOR = 20,
    TYPE_SKYBOAT = 21,
    TYPE_BOAT = 22,
    TYPE_OAR = 23,
    TYPE_FRIDGE = 24,
    TYPE_TABLE = 25,
};

// Entity modes; their meaning depends on the type.
enum {
    STATE_IDLE = 0,
    STATE_YELL = 1,
    STATE_CALL = 2,
    STATE_LIFT = 3,
    STATE_WALK = 4,
};

constexpr const char* NO_TEXT = " ";   // the text of an entity that has nothing to say

class ENTITY;

// Finishes a freshly built entity before its swarm takes it: a sprite, a limit, a mode.
using PREPARE = std::function<void(ENTITY&)>;

// One animated object of a scene; it owns its child swarm.
class ENTITY {
public:
    ENTITY* parent;          // the creator's parent; nothing reads it
    ENTITYSWARM* children;   // owned child swarm, never null after construction
    std::string text;        // label text; " " means none
    float ax;                // added to vx every tick
    float ay;                // added to vy every tick; non-zero marks a released text dot
    bool alive;              // cleared by behaviour; the swarm then destroys the entity
    bool visible;            // false hides the entity and its whole subtree
    float angle;             // own rotation, radians
    int textrow;             // next dot row of a text frame
    int frametime;           // ticks since the last animation frame change
    bool inheritzoom;        // abszoom multiplies by the owner's absolute zoom
    float spin;              // radians added to angle every tick
    float spinpivot;         // angle at which spin changes sign
    float limit;             // per-type limit: duration, segment count or release row
    float timer;             // per-type counter or peak zoom
    ENTITYSWARM* swarm;      // the swarm that holds this entity
    int sprite;              // sprite index, -1 for none
    int mode;                // entity mode (STATE_...)
    int type;                // entity type (TYPE_...)
    float x;                 // angle (world swarm) or screen x (flat swarm), relative to the owner
    float y;                 // radius (world swarm) or screen y (flat swarm), relative to the owner
    float vx;                // speed along x, pixels per tick (an arc length in a world swarm)
    float vy;                // speed along y, pixels per tick
    float zoomspeed;         // added to zoom every tick
    float zoom;              // own scale factor
    int facing;              // 1: drawn as stored, 0: mirrored

    ENTITY(ENTITYSWARM* swarm, ENTITY* parent, float x, float y, int type, float vx, float vy, int limit,
           std::string text, int mode);
    ~ENTITY();
    ENTITY(const ENTITY&) = delete;
    ENTITY& operator=(const ENTITY&) = delete;

    bool is_alive();
    void setmode(int m);
    float absx();
    float absy();
    float abszoom();
    int nchildren();
    SCENE* thescene();

    void init();
    void process();

private:
    ENTITY* owner_entity();
    void add_child(float cx, float cy, int childtype, const std::string& childtext = NO_TEXT,
                   const PREPARE& prepare = nullptr);
    void init_skyboat();
    void setmode_yell();
    void setmode_walk();
    void move();
    void process_type();
    void process_sock();
    void process_tower();
    void process_pipe();
    void add_next_pipe(float pipey);
    void process_cloud();
    void process_speck();
    void process_groundcore();
    void process_spawner(int firstsprite);
    void process_textframe();
    void write_text_row();
    void release_text_dots();
    void process_textdot();
    void process_bowl();
    void process_cereal();
    void process_skyboat();
    void process_fridge();
};

#endif
