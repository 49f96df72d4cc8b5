// Scenes: a planet seen through a camera, its six layers, its modes and choreography.
#ifndef SCENE_H
#define SCENE_H

#include "geometry.h"
#include "tick_input.h"

class ENTITY;
class ENTITYSWARM;

// Scene modes.
enum {
    MODE_IDLE = 0,
    MODE_WANDER = 1,
    MODE_BUILDFUTURE = 2,
    MODE_VACUUM = 3,
    MODE_CLIMB = 6,
    MODE_SKYNAMES = 7,
};

constexpr float KEY_LIFT = 10.0f;          // pixels of camera height per tick of the up and down keys
constexpr float MIN_CAMY_DIVISOR = 1.0f;   // camera heights below this count as this in 5/camy and 1/camy
constexpr int SCROLL_START = 500;          // scene tick on which the scroll text is made

extern const char* const SCROLLTEXT1;    // scene 1's scroll text
extern const char* const SCROLLTEXT2;    // scene 2's scroll text
extern const char* const FALLBACKNAME;   // the sky boats' name once the names run out

// One stage of the show: six layers of entities and a camera.
class SCENE {
public:
    ENTITYSWARM* actors;       // world, 1.0, drawn last: ground ring, socks, sky boats, scroll text
    ENTITYSWARM* structures;   // world, 1.0: towers, fridges and tables
    ENTITYSWARM* bkg2;         // world, 0.7: near shrubs and clouds
    ENTITYSWARM* bkg1;         // world, 0.5: far shrubs and clouds
    ENTITYSWARM* backdrop;     // flat, drawn first: the backdrop picture and its spawner
    ENTITYSWARM* core;         // world, 1.0: the ground core
    ENTITY* target;            // the entity the camera follows, or null
    bool running;              // the scene's logic runs
    bool visible;              // the scene is drawn
    int number;                // scene number, 1 or 2
    int mode;                  // scene mode (MODE_...)
    float camspin;             // radians added to camangle every tick
    float camlift;             // pixels added to camy every tick
    int ticks;                 // scene ticks, counted whether running or not
    int modeticks;             // ticks since the last mode change, pick or spawn
    unsigned nextname;         // index of the next name for a sky boat
    float camangle;            // camera angle, radians
    float camy;                // camera height, pixels

    explicit SCENE(int number);
    SCENE(const SCENE&) = delete;
    SCENE& operator=(const SCENE&) = delete;

    void setmode(int m);
    void process(const TickInput& input = TickInput());
    void run(bool r);
    void visibility(bool v);

    // The camera step: radians of one arrow-key turn, also the follow window.
    float camera_step();

private:
    void build_scene1();
    void build_scene2();
    void keyboard_camera(float step, const TickInput& keys);
    void follow_target(float step);
    void arrive(ENTITY* arrived);
    void arrive_at_sock(ENTITY* sock);
    void arrive_at_tower(ENTITY* tower);
    void arrive_at_fridge(ENTITY* fridge);
    void scene1_mode_actions();
    void spawn_sock();
    void spawn_clouds();
    void scene2_mode_actions();
    void launch_skyboats();
    void start_scroll_text();
};

constexpr int LAYER_COUNT = 6;   // every scene has the same six layers

// One layer of a scene, named.
struct SceneLayer {
    const char* name;
    ENTITYSWARM* SCENE::*swarm;
};

// The layers in the order a tick processes them: their random draws follow this order.
inline constexpr SceneLayer TICK_ORDER[LAYER_COUNT] = {
    {"bkg2", &SCENE::bkg2}, {"bkg1", &SCENE::bkg1},             {"backdrop", &SCENE::backdrop},
    {"core", &SCENE::core}, {"structures", &SCENE::structures}, {"actors", &SCENE::actors}};

// The layers in the order they are drawn, back to front.
inline constexpr SceneLayer DRAWING_ORDER[LAYER_COUNT] = {
    {"backdrop", &SCENE::backdrop}, {"bkg1", &SCENE::bkg1},             {"bkg2", &SCENE::bkg2},
    {"core", &SCENE::core},         {"structures", &SCENE::structures}, {"actors", &SCENE::actors}};

#endif
