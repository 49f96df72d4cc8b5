#include "entity.h"

#include "entityswarm.h"
#include "font.h"
#include "host_services.h"
#include "profile.h"
#include "scene.h"
#include "show_end.h"
#include "sound.h"
#include "trace.h"

#include <cmath>
#include <cstdlib>

constexpr int LAST_TYPE = TYPE_TABLE;            // types above this behave like TYPE_RESERVED0
constexpr float SOCK_YELL_TICKS = 200.0f;        // ticks a sock yells
constexpr int YELL_FRAME_TICKS = 10;             // ticks between the two yelling pictures
constexpr int SOCK_YELL_CHANCE = 1000;           // a walking sock yells with chance 1 in this, per tick
constexpr float SOCK_LIFT_SHRINK = -0.02f;       // zoom per tick of a sock being lifted away
constexpr float SOCK_LIFT_RISE = 5.0f;           // pixels per tick a lifted sock rises
constexpr double SOCK_GONE_ZOOM = 0.05;          // a lifted sock vanishes at this zoom
constexpr float FRIDGE_OPEN_TICKS = 100.0f;      // ticks a fridge stays open
constexpr double CLOUD_SHRINK = 0.01;            // zoom per tick of a cloud that has lived its life
constexpr int SPAWN_CHANCE = 3;                  // spawners add a speck with chance 1 in this, per tick
constexpr int CORE_SPECK_SLOTS = 20;             // the ground core's specks stand on twentieths of a turn
constexpr float TEXT_ACTION_TICKS = 10.0f;       // a text frame acts when its timer reaches this
constexpr int TEXT_LAST_ROW = GLYPH_SIZE - 1;    // the last dot row a text frame writes
constexpr int RELEASE_RANDOM = 10;               // a released dot falls with 1 to this many ...
constexpr double RELEASE_PULL = 0.002;           // ... steps of this pull per tick squared
constexpr double DOT_LOW_ZOOM = 0.09;            // a held text dot bounces back at this zoom
constexpr double DOT_GONE_ZOOM = 0.01;           // a released text dot vanishes below this zoom
constexpr int CEREAL_CHANCE = 300;               // a bowl throws cereal with chance 10 in this, per tick
constexpr int CEREAL_HITS = 9;                   // the highest residue that throws

// Stores the creator's values and sets the entity up as its type wants; the creator then hands it to a swarm.
ENTITY::ENTITY(ENTITYSWARM* swarm, ENTITY* parent, float x, float y, int type, float vx, float vy, int limit,
               std::string text, int mode)
    : parent(parent), children(nullptr), text(std::move(text)), ax(0), ay(0), alive(true), visible(true), angle(0),
      textrow(0), frametime(0), inheritzoom(false), spin(0), spinpivot(0), limit(static_cast<float>(limit)), timer(0),
      swarm(swarm), sprite(SPRITE_NONE), mode(mode), type(type), x(x), y(y), vx(vx), vy(vy), zoomspeed(0), zoom(1.0f),
      facing(0)
{
    init();
}

// Destroys the entity with its child swarm and every entity in it.
ENTITY::~ENTITY()
{
    delete children;
}

// Whether the entity lives on; the swarm destroys it after its tick otherwise.
bool ENTITY::is_alive()
{
    return alive;
}

// The entity whose child swarm holds this entity, or null at the top of a scene layer.
ENTITY* ENTITY::owner_entity()
{
    return swarm ? swarm->owner : nullptr;
}

// The x of the entity in its root swarm's coordinates, composed through its owners.
float ENTITY::absx()
{
    ENTITY* owner = owner_entity();
    return owner ? x + owner->absx() : x;
}

// The y of the entity in its root swarm's coordinates, composed through its owners.
float ENTITY::absy()
{
    ENTITY* owner = owner_entity();
    return owner ? y + owner->absy() : y;
}

// The entity's zoom, times its owner's absolute zoom when it inherits zoom.
float ENTITY::abszoom()
{
    ENTITY* owner = owner_entity();
    return owner && inheritzoom ? zoom * owner->abszoom() : zoom;
}

// The number of all descendants of the entity.
int ENTITY::nchildren()
{
    int count = static_cast<int>(children->entities.size());
    for (ENTITY* child : children->entities)
        count += child->nchildren();
    return count;
}

// The scene at the root of the entity's tree; a tree without one ends the program.
SCENE* ENTITY::thescene()
{
    if (swarm && swarm->scene)
        return swarm->scene;
    if (swarm && swarm->owner)
        return swarm->owner->thescene();
    trace() << "THIS ENTITYSWARM IS HOMELESS FFF " << std::endl;
    end_show(1);
}

// ---------------------------------------------------------------------------
// Modes

// Changes the entity's mode and runs the mode's entry actions.
void ENTITY::setmode(int m)
{
    mode = m;
    switch (m) {
    case STATE_YELL:
        setmode_yell();
        break;
    case STATE_CALL:
        vx = 0;
        timer = 0;
        play_sound(SOUND_VLERVELER);
        break;
    case STATE_LIFT:
        if (type == TYPE_SOCK) {
            zoomspeed = SOCK_LIFT_SHRINK;
            vy = SOCK_LIFT_RISE;
            vx = 0;
        }
        break;
    case STATE_WALK:
        setmode_walk();
        break;
    default:
        break;
    }
}

// A sock stops and yells (aloud only in the visible half of the world); a fridge opens.
void ENTITY::setmode_yell()
{
    if (type == TYPE_SOCK) {
        limit = SOCK_YELL_TICKS;
        frametime = 0;
        timer = 0;
        sprite = SPRITE_SOCKYELL0;
        vx = 0;
        const SCENE* scene = thescene();
        const float where = absx();
        if (where > scene->camangle && where < scene->camangle + HALF_TURN)
            play_sound(show_rand() & 1 ? SOUND_FUTURE : SOUND_AUAUAU);
    } else if (type == TYPE_FRIDGE) {
        sprite = SPRITE_FRIDGE_OPEN;
        timer = 0;
        limit = FRIDGE_OPEN_TICKS;
        play_sound(SOUND_VLERVELER);
    }
}

// Picks a walking speed of 1 to 3 and a direction, turning back at the ends of the walk.
void ENTITY::setmode_walk()
{
    vx = static_cast<float>(show_rand() % 3 + 1);
    facing = 1;
    if (show_rand() & 1) {
        vx = -vx;
        facing = 0;
    }
    if (facing == 0 && absx() < 0) {
        facing = 1;
        vx = std::fabs(vx);
    } else if (facing == 1 && absx() > WALK_BOUND) {
        facing = 0;
        vx = -std::fabs(vx);
    }
    timer = 0;
}

// ---------------------------------------------------------------------------
// Set-up

// Builds a child of the given type into this entity's own child swarm, finished by `prepare`.
void ENTITY::add_child(float cx, float cy, int childtype, const std::string& childtext, const PREPARE& prepare)
{
    children->spawn(this, cx, cy, childtype, 0, childtext, prepare);
}

// Creates the child swarm and gives the entity its type's sprite, zoom, speeds, limits and fixed children.
void ENTITY::init()
{
    children = new ENTITYSWARM(this, swarm ? swarm->scale : 1.0f);
    switch (type) {
    case TYPE_CLOUD:
        sprite = SPRITE_CLOUD0 + show_rand() % 2;
        vx = static_cast<float>(show_rand() % 3 + 1);
        if (show_rand() & 1)
            vx = -vx;
        timer = static_cast<float>(show_rand() % 1500 + 1000);
        zoom = 0.1f;
        zoomspeed = 0.01f;
        break;
    case TYPE_TOWER:
        zoom = 0.1f;
        zoomspeed = 0.1f;
        limit = static_cast<float>(show_rand() % 10 + 10);
        sprite = SPRITE_DOME;
        vy = 2.5f;
        break;
    case TYPE_PIPE:
        trace() << "NEW PIPE x " << absx() << " y " << absy() << std::endl;
        sprite = SPRITE_PIPE;
        zoom = 0.1f;
        zoomspeed = 0.005f;
        break;
    case TYPE_DOME:
        sprite = SPRITE_DOME;
        break;
    case TYPE_SHRUB:
        sprite = SPRITE_SHRUB0 + show_rand() % 3;
        break;
    case TYPE_SOCK:
        trace() << "SOCK INIT";
        sprite = SPRITE_SOCKWALK;
        setmode(STATE_WALK);
        break;
    case TYPE_BLOCK:
        sprite = SPRITE_BLOCK;
        break;
    case TYPE_SKYSPAWNER:
        break;
    case TYPE_SPECK:
        zoom = 0.1f;
        zoomspeed = 0.05f;
        timer = SPECK_PEAK_ZOOM;
        break;
    case TYPE_SKY:
        sprite = SPRITE_SKY0;
        zoom = BACKDROP_ZOOM;
        break;
    case TYPE_TEXTFRAME:
        mode = STATE_IDLE;
        timer = 0;
        textrow = 0;
        sprite = SPRITE_NONE;
        limit = 30;
        break;
    case TYPE_TEXTDOT:
        sprite = SPRITE_TEXTDOT;
        zoom = 0.1f;
        zoomspeed = 0.005f;
        timer = TEXT_DOT_PEAK_ZOOM;
        break;
    case TYPE_CEREAL:
        sprite = SPRITE_CEREAL0 + show_rand() % 9;
        vy = static_cast<float>(show_rand() % 10 + 10);
        vx = (show_rand() % 10) / 10.0f + 1;
        ay = -0.1f;
        spin = static_cast<float>(show_rand() % 10 + 5);
        if (show_rand() & 1)
            vx = -vx;
        if (show_rand() & 1)
            spin = -spin;
        angle = static_cast<float>(show_rand() % 360);
        zoom = CEREAL_ZOOM;
        break;
    case TYPE_BOWL:
        sprite = SPRITE_BOWL;
        zoom = BOWL_ZOOM;
        break;
    case TYPE_GRASS:
        sprite = SPRITE_GRASS;
        break;
    case TYPE_GROUNDCORE:
        sprite = SPRITE_GROUND0;
        zoom = PLANET_BODY_ZOOM;
        break;
    case TYPE_STONE:
        sprite = SPRITE_STONE0;
        zoom = BACKDROP_ZOOM;
        break;
    case TYPE_DOMEFLOOR:
        sprite = SPRITE_DOMEFLOOR;
        break;
    case TYPE_SKYBOAT:
        init_skyboat();
        break;
    case TYPE_BOAT:
        sprite = SPRITE_BOWL;
        inheritzoom = true;
        break;
    case TYPE_OAR:
        sprite = SPRITE_SPOON;
        inheritzoom = true;
        break;
    case TYPE_FRIDGE:
        sprite = SPRITE_FRIDGE_CLOSED;
        facing = 0;
        if (show_rand() & 1)
            facing = 1;
        break;
    case TYPE_TABLE:
        sprite = SPRITE_TABLE;
        add_child(0, TABLE_BOWL_Y, TYPE_BOWL);
        break;
    default:   // TYPE_RESERVED0, TYPE_RESERVED5, TYPE_STONESPAWNER and unknown types
        sprite = SPRITE_BLOCK;
        break;
    }
}

// A sock rowing a flying bowl with a spoon, and its name written below it.
void ENTITY::init_skyboat()
{
    trace() << "SKYBOAT (" << absx() << "," << absy() << ") ";
    sprite = SPRITE_SOCKWALK;
    zoom = 0.05f;
    zoomspeed = 0.01f;
    facing = vx > 0 ? 1 : 0;
    add_child(0, SKYBOAT_HULL_Y, TYPE_BOAT);
    add_child(0, SKYBOAT_HULL_Y, TYPE_OAR);
    timer = 0;
    limit = 200;
    if (text == NO_TEXT)
        return;
    add_child(0, SKYBOAT_LABEL_Y, TYPE_TEXTFRAME, text, [this](ENTITY& label) {
        if (facing == 1)   // the name ends under a boat heading right
            label.x -= (text.size() * LABEL_CELL) / absy();
    });
}

// ---------------------------------------------------------------------------
// Behaviour

// One tick of the entity: its children, then its type's behaviour, then its motion.
void ENTITY::process()
{
    children->process();
    process_type();
    move();
}

// Moves, zooms and turns the entity by its speeds.
void ENTITY::move()
{
    frametime += 1;
    vx += ax;
    vy += ay;
    const float radius = absy();
    if (radius != 0)   // the ground cores sit at the centre, where an arc length has no angle
        x += vx / radius;
    y += vy;
    zoom += zoomspeed;
    angle += spin;
    if (angle == spinpivot)
        spin = -spin;
}

// Runs the behaviour of the entity's type.
void ENTITY::process_type()
{
    switch (type) {
    case TYPE_SOCK: process_sock(); break;
    case TYPE_TOWER: process_tower(); break;
    case TYPE_PIPE: process_pipe(); break;
    case TYPE_CLOUD: process_cloud(); break;
    case TYPE_SPECK: process_speck(); break;
    case TYPE_GROUNDCORE: process_groundcore(); break;
    case TYPE_SKYSPAWNER: process_spawner(SPRITE_SKY0); break;
    case TYPE_STONESPAWNER: process_spawner(SPRITE_STONE0); break;
    case TYPE_TEXTFRAME: process_textframe(); break;
    case TYPE_TEXTDOT: process_textdot(); break;
    case TYPE_BOWL: process_bowl(); break;
    case TYPE_CEREAL: process_cereal(); break;
    case TYPE_SKYBOAT: process_skyboat(); break;
    case TYPE_FRIDGE: process_fridge(); break;
    default: break;
    }
}

// A sock walks, now and then yells, stands while it calls, and vanishes when lifted.
void ENTITY::process_sock()
{
    trace() << "SOCK ";
    if (mode == STATE_WALK) {
        sprite = SPRITE_SOCKWALK;
        if (show_rand() % SOCK_YELL_CHANCE == 1)
            setmode(STATE_YELL);
    }
    if (mode == STATE_YELL) {
        trace() << "frametiem " << frametime << " oar " << timer << " target " << limit;
        if (frametime == YELL_FRAME_TICKS) {
            if (sprite == SPRITE_SOCKYELL0)
                sprite = SPRITE_SOCKYELL1;
            else if (sprite == SPRITE_SOCKYELL1)
                sprite = SPRITE_SOCKYELL0;
            frametime = 0;
        }
        timer += 1;
    }
    if (mode == STATE_CALL) {
        sprite = SPRITE_SOCKYELL1;
        timer += 1;
    }
    if (mode == STATE_LIFT && zoom <= SOCK_GONE_ZOOM)
        alive = false;
    if (timer >= limit && mode != STATE_WALK && mode != STATE_LIFT)
        setmode(STATE_WALK);
}

// A tower's dome grows, starts its pipe column once full size, and rises until the column is complete.
void ENTITY::process_tower()
{
    if (zoom >= DOME_FULL_ZOOM && zoomspeed != 0) {
        add_next_pipe(TOWER_FIRST_PIPE_Y);
        zoomspeed = 0;
    }
    const int count = nchildren();
    trace() << "TOWER CHILDREN: " << count << std::endl;
    if (static_cast<float>(nchildren()) >= limit)
        vy = 0;
}

// Builds the next pipe of the column into this entity's children, with one segment fewer to go.
void ENTITY::add_next_pipe(float pipey)
{
    add_child(0, pipey, TYPE_PIPE, NO_TEXT, [this](ENTITY& pipe) { pipe.limit = limit - 1; });
}

// A pipe grows to full size, then builds the next pipe of the column while any are left.
void ENTITY::process_pipe()
{
    if (zoom >= PIPE_FULL_ZOOM && zoomspeed > 0) {
        zoomspeed = 0;
        if (limit > 0)
            add_next_pipe(PIPE_STEP_Y);
    }
}

// A cloud grows to full size, drifts for its life, then shrinks away.
void ENTITY::process_cloud()
{
    timer -= 1;
    trace() << "OAR " << timer;
    if (timer < 0)
        zoom -= CLOUD_SHRINK;
    if (zoom <= 0) {
        alive = false;
        zoomspeed = 0;
    }
    if (zoom >= CLOUD_FULL_ZOOM) {
        zoomspeed = 0;
        zoom = CLOUD_FULL_ZOOM;
    }
    trace() << "ZOOM " << zoom << std::endl;
}

// A speck grows to its peak zoom, shrinks back and dies.
void ENTITY::process_speck()
{
    if (zoom >= timer)
        zoomspeed = -zoomspeed;
    if (zoom <= 0)
        alive = false;
}

// The planet body scatters specks over itself: ground sparkles when idle, sky specks when walking.
void ENTITY::process_groundcore()
{
    trace() << "GROUNDCORE";
    if (show_rand() % SPAWN_CHANCE != 1)
        return;
    const int r = show_rand() % 70 + 28;
    const int k = show_rand() % 100;
    const float newy = zoom * r;
    const float newx = static_cast<float>(k * FULL_TURN / CORE_SPECK_SLOTS);
    trace() << "NEW: y " << newy << " x " << newx;
    swarm->spawn(nullptr, newx, newy, TYPE_SPECK, 0, NO_TEXT, [this](ENTITY& speck) {
        if (mode == STATE_IDLE)
            speck.sprite = SPRITE_GROUND0 + show_rand() % 3;
        else if (mode == STATE_WALK)
            speck.sprite = SPRITE_SKY0 + show_rand() % 3;
    });
}

// An invisible spawner scatters specks of its family over the screen's 100-pixel grid.
void ENTITY::process_spawner(int firstsprite)
{
    visible = false;
    if (show_rand() % SPAWN_CHANCE != 1)
        return;
    const float newx = static_cast<float>(GRID_CELL * (show_rand() % GRID_COLUMNS) + GRID_CELL / 2);
    const float newy = static_cast<float>(GRID_CELL * (show_rand() % GRID_ROWS) + GRID_CELL / 2);
    swarm->spawn(nullptr, newx, newy, TYPE_SPECK, 0, NO_TEXT,
                 [firstsprite](ENTITY& speck) { speck.sprite = firstsprite + show_rand() % 3; });
}

// A text frame writes its text one dot row per action, later releases its dots and dies when they are gone.
void ENTITY::process_textframe()
{
    trace() << "TEXT FRAME " << textrow << " ";
    if (timer != TEXT_ACTION_TICKS) {
        timer += 1;
        return;
    }
    if (textrow <= TEXT_LAST_ROW)
        write_text_row();
    else if (textrow == limit && mode != STATE_WALK)
        release_text_dots();
    if (textrow > limit && children->entities.empty())
        alive = false;
    timer = 0;
    textrow += 1;
}

// Builds the text dots of dot row `textrow` for every character the font has.
void ENTITY::write_text_row()
{
    const float s = DOT_SPACING / absy();
    for (size_t i = 0; i < text.size(); ++i) {
        const DOTCHAR* glyph = cloudfont.glyph(text[i]);
        if (!glyph)   // not in the font, or no font loaded: a gap of one character
            continue;
        for (int j = 0; j < GLYPH_SIZE; ++j) {
            if (!glyph->dots[j][textrow])
                continue;
            add_child(s * j + s * GLYPH_PITCH * i, DOT_ROW_STEP * textrow, TYPE_TEXTDOT);
        }
    }
}

// Lets every dot go: it stops and drifts outward ever faster.
void ENTITY::release_text_dots()
{
    for (ENTITY* dot : children->entities) {
        dot->vx = 0;
        dot->ay = static_cast<float>((show_rand() % RELEASE_RANDOM + 1) * RELEASE_PULL);
    }
}

// A text dot pulses while held, and fades out once released.
void ENTITY::process_textdot()
{
    if (zoom >= timer || (zoom < DOT_LOW_ZOOM && ay == 0)) {
        zoomspeed = -zoomspeed;
        zoom += zoomspeed;
    }
    if (absy() < TEXT_DOT_FLOOR)
        alive = false;
    if (ay != 0 && zoom < DOT_GONE_ZOOM)
        alive = false;
}

// A bowl now and then throws a piece of cereal from its table.
void ENTITY::process_bowl()
{
    if (show_rand() % CEREAL_CHANCE > CEREAL_HITS)
        return;
    swarm->spawn(nullptr, 0, 0, TYPE_CEREAL);
}

// Cereal flies and falls until it drops below the table into the planet.
void ENTITY::process_cereal()
{
    trace() << "CEREAL " << vx << " " << vy << " " << absx() << " " << absy() << std::endl;
    if (absy() < CEREAL_FLOOR)
        alive = false;
}

// A sky boat grows to its cruising size.
void ENTITY::process_skyboat()
{
    if (zoom >= SKYBOAT_FULL_ZOOM)
        zoomspeed = 0;
}

// An open fridge closes again after its time.
void ENTITY::process_fridge()
{
    if (mode != STATE_YELL)
        return;
    if (timer >= limit) {
        setmode(STATE_IDLE);
        sprite = SPRITE_FRIDGE_CLOSED;
    }
    timer += 1;
}
