#include "scene.h"

#include "common.h"
#include "entity.h"
#include "entityswarm.h"
#include "file.h"
#include "host_services.h"
#include "profile.h"
#include "show_trig.h"
#include "trace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

constexpr int START_SOCKS = 40;                 // socks scene 1 starts with
constexpr int SHRUB_PAIRS = 20;                 // near and far shrubs of scene 1
constexpr int SKYBOATS = 5;                     // sky boats per round of names
constexpr double FAST_BOAT = 3.5;               // pixels per tick at the camera height, even boats
constexpr double SLOW_BOAT = 2.8;               // pixels per tick at the camera height, odd boats
constexpr double FOLLOW_DIVISOR = 50.0;         // the camera closes this share of the gap per tick
constexpr float CALL_TICKS_PER_PIPE = 10.0f;    // a sock calls this long for each pipe
constexpr float CLIMB_STEP = 10.0f;             // pixels the camera climbs per tick
constexpr int PICK_WAIT = 249;                  // ticks without a target before a pick
constexpr int SKYNAMES_TICKS = 499;             // ticks of sky names before the next climb
constexpr int FRIDGE_WAIT = 499;                // ticks between fridge visits
constexpr int SPAWN_WAIT = 99;                  // quiet ticks before socks spawn
constexpr int SPAWN_CHANCE = 10;                // then a sock spawns with chance 1 in this per tick
constexpr double BOB_PERIOD = 10.0;             // the camera bobs by sin(ticks / this)
constexpr int CLOUD_DICE = 1000;                // cloud chance: near on 0..9, far on 10..19 of this
constexpr int NEAR_CLOUD_MAX = 9;
constexpr int FAR_CLOUD_MAX = 19;
constexpr float CLOUD_SPEED_DIVISOR = 3.0f;     // randir divisor of a new cloud's speed
constexpr int FRIDGE_SPIN_MAX = 5;              // after a fridge visit the world turns 1 to this many px per tick
constexpr float SCROLL_SPEED = -7.0f;           // pixels per tick, right to left across the view

const char* const SCROLLTEXT1 =
    "Quoravint - one small planet, a ring of grass and forty socks who never learned to "
    "whisper. Welcome! Relax as the world turns under the camera, one pixel per tick. Watch a "
    "sock stop on a tenth of a radian and call a tower out of the ground: pipe after pipe, "
    "each one grown by hand (well, by foot). Later the towers ring the planet and the vacuum "
    "takes the loudest socks away. Then we climb, higher than any sock has climbed, and the "
    "sky boats row past with the names of friends. Every picture, dot and note of this show "
    "was drawn, synthesised and written by the program itself. Thanks for watching!";

const char* const SCROLLTEXT2 =
    "This is the kitchen planet, and this is where its scroll text will go once somebody "
    "writes it. Until then: the fridges hum, bowls throw cereal at the sky and now and then a "
    "sock climbs out of the cold. The real words are still to be written - come back for the "
    "next version of the show!";

const char* const FALLBACKNAME = "WHITFIELD";

// A random angle: whole degrees over two turns, in radians.
static float random_angle()
{
    return static_cast<float>((show_rand() % ANGLE_DEGREES) / DEGREES_PER_RADIAN);
}

// Builds scene `number` with its six layers and initial entities, hidden and stopped.
SCENE::SCENE(int number)
    : target(nullptr), running(false), visible(false), number(number), mode(MODE_IDLE), camspin(0), camlift(0),
      ticks(0), modeticks(0), nextname(0)
{
    backdrop = new ENTITYSWARM(this, BACKDROP_SCALE);
    backdrop->drawmode = 0;
    bkg1 = new ENTITYSWARM(this, FAR_LAYER_SCALE);
    bkg2 = new ENTITYSWARM(this, NEAR_LAYER_SCALE);
    core = new ENTITYSWARM(this, PLANET_LAYER_SCALE);
    structures = new ENTITYSWARM(this, PLANET_LAYER_SCALE);
    actors = new ENTITYSWARM(this, PLANET_LAYER_SCALE);
    camangle = START_CAMANGLE;
    camy = START_CAMY;
    if (number == 1)
        build_scene1();
    else if (number == 2)
        build_scene2();
    else
        camspin += (show_rand() % 10) / camy;
}

// The grass planet: a turf ring, socks, shrubs, a sky backdrop and the ground core.
void SCENE::build_scene1()
{
    for (float i = GRASS_FIRST; i < GRASS_END; i += 1)
        actors->spawn(nullptr, static_cast<float>(i / GRASS_PER_RADIAN), GROUND_RADIUS, TYPE_GRASS);
    for (int i = 0; i < START_SOCKS; ++i)
        actors->spawn(nullptr, random_angle(), SOCK_RADIUS, TYPE_SOCK);
    for (int i = 0; i < SHRUB_PAIRS; ++i) {
        bkg2->spawn(nullptr, random_angle(), NEAR_SHRUB_RADIUS, TYPE_SHRUB);
        bkg1->spawn(nullptr, random_angle(), FAR_SHRUB_RADIUS, TYPE_SHRUB);
    }
    backdrop->spawn(nullptr, HALF_WIDTH, HALF_HEIGHT, TYPE_SKY);
    backdrop->spawn(nullptr, HALF_WIDTH, HALF_HEIGHT, TYPE_SKYSPAWNER);
    core->spawn(nullptr, 0, 0, TYPE_GROUNDCORE);
}

// The kitchen planet: a dome floor, a stone backdrop, a sky-speckled core, fridges and tables.
void SCENE::build_scene2()
{
    for (float i = FLOOR_FIRST; i < FLOOR_END; i += 1)
        actors->spawn(nullptr, static_cast<float>(i / FLOOR_PER_RADIAN), GROUND_RADIUS, TYPE_DOMEFLOOR);
    backdrop->spawn(nullptr, HALF_WIDTH, HALF_HEIGHT, TYPE_STONESPAWNER);
    backdrop->spawn(nullptr, HALF_WIDTH, HALF_HEIGHT, TYPE_STONE);
    core->spawn(nullptr, 0, 0, TYPE_GROUNDCORE, 0, NO_TEXT, [](ENTITY& groundcore) {
        groundcore.sprite = SPRITE_SKY0;   // a core that scatters sky specks, without the walk's entry actions
        groundcore.mode = STATE_WALK;
    });
    for (double d = 0.0; d < KITCHEN_END_DEGREES;) {
        const float where = static_cast<float>(d / DEGREES_PER_RADIAN);
        if (show_rand() & 1)
            structures->spawn(nullptr, where, FRIDGE_RADIUS, TYPE_FRIDGE);
        else
            structures->spawn(nullptr, where, TABLE_RADIUS, TYPE_TABLE);
        d += KITCHEN_GAP_DEGREES * (show_rand() % 3 + 1);
    }
}

// Starts or stops the scene's logic.
void SCENE::run(bool r)
{
    running = r;
}

// Shows or hides the scene.
void SCENE::visibility(bool v)
{
    visible = v;
}

// The camera height used as a divisor: at or below the ground it counts as MIN_CAMY_DIVISOR,
// so the camera never jumps or turns the wrong way.
static float camy_divisor(float camy)
{
    return std::max(camy, MIN_CAMY_DIVISOR);
}

// The camera step: five pixels of arc at the camera height.
float SCENE::camera_step()
{
    return CAMERA_STEP_PIXELS / camy_divisor(camy);
}

// ---------------------------------------------------------------------------
// Modes

// Enters mode `m`: drops the target, restarts the mode clock and runs the mode's entry actions.
void SCENE::setmode(int m)
{
    mode = m;
    target = nullptr;
    const float k = 1 / camy_divisor(camy);
    modeticks = 0;
    switch (m) {
    case MODE_WANDER:
        camspin = k;
        break;
    case MODE_BUILDFUTURE:
        camspin = 0;
        break;
    case MODE_VACUUM:
        for (int i = VACUUM_FIRST; i <= VACUUM_LAST; ++i)
            structures->spawn(nullptr, i * VACUUM_STEP, VACUUM_RADIUS, TYPE_TOWER);
        camspin = 0;
        break;
    case MODE_CLIMB:
        camspin = 0;
        camy = START_CAMY;
        break;
    case MODE_SKYNAMES:
        trace() << " FOLLOW MODE_SKYNAMES ";
        camspin = 2 * k;
        launch_skyboats();
        break;
    default:
        break;
    }
}

// Five sky boats, stacked above the view, each carrying the next name (or the fallback name).
void SCENE::launch_skyboats()
{
    const float divisor = camy_divisor(camy);
    float theta = static_cast<float>(camangle - QUARTER_TURN);
    for (int j = 0; j < SKYBOATS; ++j) {
        const float r = camy + SKYBOAT_LOW + SKYBOAT_STACK * j;
        theta += (show_rand() % 5 + 5) / (r * 10);
        const float speed = static_cast<float>(r * ((j % 2 ? SLOW_BOAT : FAST_BOAT) / divisor));
        const std::vector<std::string>& names = text().lines;
        std::string name = FALLBACKNAME;
        if (nextname < names.size())
            name = names[nextname++];
        actors->spawn(nullptr, theta, r, TYPE_SKYBOAT, speed, name);
    }
}

// ---------------------------------------------------------------------------
// The tick

// One tick of the scene: camera, choreography and layers while it runs; scroll text, counters and spin always.
void SCENE::process(const TickInput& input)
{
    trace() << "BKG1: " << bkg1->entities.size() << std::endl;
    if (running) {
        const float step = camera_step();
        keyboard_camera(step, input);
        if (target)
            follow_target(step);
        if (number == 1) {
            scene1_mode_actions();
            spawn_clouds();
        }
        if (number == 2)
            scene2_mode_actions();
        for (const SceneLayer& layer : TICK_ORDER)
            (this->*layer.swarm)->process();
    }
    if (ticks == SCROLL_START)
        start_scroll_text();
    ticks += 1;
    modeticks += 1;
    camangle += camspin;
    camy += camlift;
}

// The arrow keys turn the camera and raise or lower it.
void SCENE::keyboard_camera(float step, const TickInput& keys)
{
    if (keys.left && camy > 0)
        camangle -= step;
    if (keys.right && camy > 0)
        camangle += step;
    if (keys.down && camy > 0)
        camy -= KEY_LIFT;
    if (keys.up)
        camy += KEY_LIFT;
}

// Turns the camera towards the target, by a share of the gap but at least one step, and acts on arrival.
void SCENE::follow_target(float step)
{
    trace() << "FOLLOW NOT NULL" << std::endl;
    const float a = target->absx();
    const double under = camangle - QUARTER_TURN;
    if (a > under - step && a < under + step) {
        camangle = static_cast<float>(a + QUARTER_TURN);
        trace() << "[FOLLOW STOP]";
        arrive(target);
        return;
    }
    trace() << "FOLLOW " << a << " ";
    double d = (under - a) / FOLLOW_DIVISOR;
    if (-step < d && d < 0)
        d = -step;
    if (0 < d && d < step)
        d = step;
    camangle = static_cast<float>(camangle - d);   // turned in double, then stored
}

// What happens while the camera is on the target, by its type.
void SCENE::arrive(ENTITY* arrived)
{
    if (arrived->type == TYPE_SOCK)
        arrive_at_sock(arrived);
    else if (arrived->type == TYPE_TOWER && mode == MODE_CLIMB)
        arrive_at_tower(arrived);
    else if (arrived->type == TYPE_FRIDGE && number == 2 && mode == MODE_WANDER)
        arrive_at_fridge(arrived);
}

// A followed sock calls up a tower on a free mark, is released after its call, or is vacuumed away.
void SCENE::arrive_at_sock(ENTITY* sock)
{
    if (sock->mode != STATE_CALL && mode == MODE_BUILDFUTURE) {
        const int mark = static_cast<int>(sock->absx() * TOWER_MARK);
        if (mark % TOWER_MARK_STEP == 0 && !structures->entnearx(TYPE_TOWER, sock)) {
            sock->setmode(STATE_CALL);
            structures->spawn(nullptr, sock->absx(), sock->absy() + TOWER_CALL_RISE, TYPE_TOWER, 0, NO_TEXT,
                              [sock](ENTITY& tower) { sock->limit = tower.limit * CALL_TICKS_PER_PIPE; });
        }
    }
    if (sock->mode == STATE_CALL && sock->timer >= sock->limit - 1.0f) {
        target = nullptr;
        modeticks = 0;
    }
    if (target && number == 1 && mode == MODE_VACUUM && structures->entnearx(TYPE_TOWER, sock)) {
        sock->setmode(STATE_LIFT);
        target = nullptr;
        modeticks = 0;
    }
}

// The camera climbs a finished tower; at the top the sky names begin.
void SCENE::arrive_at_tower(ENTITY* tower)
{
    if (tower->absy() - CLIMB_MARGIN > camy) {
        camy += CLIMB_STEP;
        return;
    }
    target = nullptr;
    setmode(MODE_SKYNAMES);
}

// A visited fridge opens, lets out a sock, and the world turns at a new speed.
void SCENE::arrive_at_fridge(ENTITY* fridge)
{
    actors->spawn(nullptr, fridge->absx(), SOCK_RADIUS, TYPE_SOCK);
    fridge->setmode(STATE_YELL);
    target = nullptr;
    modeticks = 0;
    float spin = static_cast<float>(show_rand() % FRIDGE_SPIN_MAX + 1);
    if (show_rand() & 1)
        spin = -spin;
    camspin = spin / camy_divisor(camy);
}

// Scene 1's per-mode actions: spawning socks, picking socks and towers, ending the sky names.
void SCENE::scene1_mode_actions()
{
    switch (mode) {
    case MODE_WANDER:
        camy += show_sin(ticks / static_cast<float>(BOB_PERIOD));
        if (modeticks > SPAWN_WAIT && show_rand() % SPAWN_CHANCE == 1)
            spawn_sock();
        break;
    case MODE_BUILDFUTURE:
    case MODE_VACUUM:
        if (!target && modeticks > PICK_WAIT) {
            target = actors->randent(TYPE_SOCK);
            modeticks = 0;
        }
        break;
    case MODE_SKYNAMES:
        if (modeticks > SKYNAMES_TICKS)
            setmode(MODE_CLIMB);
        break;
    case MODE_CLIMB:
        if (modeticks > PICK_WAIT && !target) {
            target = structures->randent(TYPE_TOWER);
            if (target && target->vy == 0) {
                camy = START_CAMY;
                modeticks = 0;
            } else {
                target = nullptr;
            }
        }
        break;
    default:
        break;
    }
}

// A new sock at a whole-radian angle.
void SCENE::spawn_sock()
{
    const int where = static_cast<int>((show_rand() % ANGLE_DEGREES) / DEGREES_PER_RADIAN);
    actors->spawn(nullptr, static_cast<float>(where), SOCK_RADIUS, TYPE_SOCK);
    modeticks = 0;
    trace() << "SPAWN SOCK";
}

// Now and then a near or far cloud, at a whole-radian angle.
void SCENE::spawn_clouds()
{
    const int dice = show_rand() % CLOUD_DICE;
    const int where = static_cast<int>((show_rand() % 100) / 100.0 * CLOUD_SPREAD);
    ENTITYSWARM* layer = dice <= NEAR_CLOUD_MAX ? bkg2 : dice <= FAR_CLOUD_MAX ? bkg1 : nullptr;
    if (!layer)
        return;
    const float height = static_cast<float>(show_rand() % CLOUD_RANGE + CLOUD_LOW);
    const float speed = randir(CLOUD_SPEED_DIVISOR);
    layer->spawn(nullptr, static_cast<float>(where), height, TYPE_CLOUD, speed);
}

// Scene 2's per-mode actions: picking the next fridge to visit.
void SCENE::scene2_mode_actions()
{
    if (mode == MODE_WANDER && modeticks > FRIDGE_WAIT && !target)
        target = structures->randent(TYPE_FRIDGE);
}

// The scene's scroll text: a text frame that travels round the planet and never lets go of its dots.
void SCENE::start_scroll_text()
{
    actors->spawn(nullptr, 0.0f, SCROLL_RADIUS, TYPE_TEXTFRAME, 0, number == 1 ? SCROLLTEXT1 : SCROLLTEXT2,
                  [](ENTITY& frame) {
                      frame.vx = SCROLL_SPEED;
                      frame.mode = STATE_WALK;   // keeps its dots for ever, without the walk's entry actions
                  });
}
