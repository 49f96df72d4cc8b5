// The scene's choreography: following a target, what happens on arrival, the modes, the sky names,
// the fridge visit, the spawns and the scroll text, driven tick by tick with a seeded generator.
#include "entity.h"
#include "entityswarm.h"
#include "file.h"
#include "font.h"
#include "host_services.h"
#include "scene.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr unsigned SEED = 7031;          // any fixed seed: the tests only need repeatable draws
constexpr int EMPTY_SCENE = 3;           // a scene number that builds no entities and has no mode actions
constexpr float START_HEIGHT = 1000.0f;  // the camera height every scene starts with
constexpr float STEP_AT_START = 0.005f;  // 5 / 1000: the follow window and minimum step at that height
constexpr int TICK_LIMIT = 2000;         // a bound for waits that end far sooner in a working scene

// Builds an entity with the show's defaults and hands it to `swarm`, its trace discarded.
ENTITY* place(ENTITYSWARM* swarm, int type, float x, float y)
{
    TraceSilencer quiet;
    return swarm->spawn(nullptr, x, y, type);
}

// Whether the swarm still holds `e` (compared by address only: `e` may be gone).
bool holds(ENTITYSWARM* swarm, const ENTITY* e)
{
    return std::find(swarm->entities.begin(), swarm->entities.end(), e) != swarm->entities.end();
}

// The angle under the camera: where a followed entity stands once the camera is on it.
double under_camera(const SCENE& scene)
{
    return scene.camangle - QUARTER_TURN;
}

// A running scene built from a seeded generator, with no spin.
class Choreography : public ::testing::Test {
protected:
    SCENE* scene = nullptr;

    // Builds scene `number` running in `mode`, no spin.
    void build(int number, int mode)
    {
        TraceSilencer quiet;
        seed_show_random(SEED);
        scene = new SCENE(number);
        scene->run(true);
        scene->setmode(mode);
        scene->camspin = 0;
    }
    // Runs `times` ticks with the trace discarded.
    void tick(int times = 1)
    {
        TraceSilencer quiet;
        for (int i = 0; i < times; ++i)
            scene->process();
    }
    // Runs ticks until the scene has no target; returns how many ran, or TICK_LIMIT.
    int tick_until_released()
    {
        int n = 0;
        while (scene->target && n < TICK_LIMIT)
            tick(), ++n;
        return n;
    }
    // One tick whose trace is returned.
    std::string traced_tick()
    {
        TraceCapture trace;
        scene->process();
        return trace.text();
    }
    // Ticks until the camera arrives on its target; returns how many ticks it took, or TICK_LIMIT.
    int ticks_to_arrive()
    {
        for (int n = 1; n <= TICK_LIMIT; ++n)
            if (traced_tick().find("[FOLLOW STOP]") != std::string::npos)
                return n;
        return TICK_LIMIT;
    }
};

// ---------------------------------------------------------------------------
// Following

TEST_F(Choreography, FollowingClosesAFiftiethOfTheGapButAtLeastOneStep)
{
    build(EMPTY_SCENE, MODE_IDLE);
    ENTITY* marker = place(scene->structures, TYPE_DOME, static_cast<float>(under_camera(*scene) - 0.2), 1500.0f);
    scene->target = marker;
    EXPECT_NEAR(ticks_to_arrive(), 40, 2) << "0.2 rad at the minimum step of 0.005";
    EXPECT_FLOAT_EQ(scene->camangle, static_cast<float>(marker->absx() + QUARTER_TURN));

    marker->x = static_cast<float>(under_camera(*scene) + 1.0);
    EXPECT_NEAR(ticks_to_arrive(), 119, 3) << "1 rad: about 69 fiftieths, then about 50 minimum steps";
    EXPECT_FLOAT_EQ(scene->camangle, static_cast<float>(marker->absx() + QUARTER_TURN));
}

TEST_F(Choreography, FollowingTurnsTheCameraInDoubleAndStoresTheResult)
{
    build(EMPTY_SCENE, MODE_IDLE);
    const float start = scene->camangle;
    const auto share = [&](float a) { return ((start - QUARTER_TURN) - a) / 50.0; };
    const auto in_double = [&](float a) { return static_cast<float>(start - share(a)); };
    const auto share_rounded_first = [&](float a) { return start - static_cast<float>(share(a)); };
    // A target half a radian away (a share above the minimum step) where rounding the share first lands elsewhere.
    float where = static_cast<float>(under_camera(*scene) + 0.5);
    for (int tries = 0; tries < TICK_LIMIT && in_double(where) == share_rounded_first(where); ++tries)
        where = std::nextafter(where, 10.0f);
    ASSERT_NE(in_double(where), share_rounded_first(where));
    scene->target = place(scene->structures, TYPE_DOME, where, 1500.0f);
    tick();
    EXPECT_EQ(scene->camangle, in_double(where));
}

TEST_F(Choreography, FollowingTracesItsApproachAndItsArrival)
{
    build(EMPTY_SCENE, MODE_IDLE);
    scene->target = place(scene->structures, TYPE_DOME, static_cast<float>(under_camera(*scene) + 0.5), 1500.0f);
    const std::string approach = traced_tick();
    EXPECT_NE(approach.find("FOLLOW NOT NULL\n"), std::string::npos);
    EXPECT_EQ(count_occurrences(approach, "FOLLOW "), 2) << "the follow line and the approach";
    EXPECT_EQ(approach.find("[FOLLOW STOP]"), std::string::npos);
    EXPECT_LT(ticks_to_arrive(), TICK_LIMIT);
    EXPECT_NE(scene->target, nullptr) << "a dome is no reason to let go";
}

// A camera height and angle whose arrival window's lower edge (the angle under the camera
// minus the step, as the scene computes it in double) is exactly a float, so a target can stand on it.
float place_camera_on_exact_edge(SCENE& scene)
{
    for (float height = START_HEIGHT; height < 2 * START_HEIGHT; height = std::nextafter(height, 2 * START_HEIGHT)) {
        scene.camy = height;
        const float step = scene.camera_step();
        float angle = static_cast<float>(QUARTER_TURN + step);
        angle = std::nextafter(angle, 0.0f);
        for (int nudge = 0; nudge < 3; ++nudge, angle = std::nextafter(angle, 10.0f)) {
            const double edge = (static_cast<double>(angle) - QUARTER_TURN) - step;
            if (static_cast<double>(static_cast<float>(edge)) == edge) {
                scene.camangle = angle;
                return static_cast<float>(edge);
            }
        }
    }
    ADD_FAILURE() << "no camera puts its window edge on a float";
    return 0;
}

TEST_F(Choreography, ArrivalWindowIsStrict)
{
    build(EMPTY_SCENE, MODE_IDLE);
    const float edge = place_camera_on_exact_edge(*scene);
    const float angle = scene->camangle;
    const float step = scene->camera_step();
    scene->target = place(scene->structures, TYPE_DOME, edge, 1500.0f);
    EXPECT_EQ(traced_tick().find("[FOLLOW STOP]"), std::string::npos) << "exactly on the edge is outside";
    EXPECT_FLOAT_EQ(scene->camangle, angle - step) << "so the camera took one minimum step towards it";

    scene->camangle = angle;
    scene->target->x = std::nextafter(edge, 1.0f);
    EXPECT_NE(traced_tick().find("[FOLLOW STOP]"), std::string::npos) << "a hair inside has arrived";
}

// ---------------------------------------------------------------------------
// Arrival at a sock: the tower call, its release, the vacuum

TEST_F(Choreography, SockOnAFreeTenthMarkCallsATowerForTenTicksPerPipe)
{
    build(EMPTY_SCENE, MODE_BUILDFUTURE);
    ENTITY* sock = place(scene->actors, TYPE_SOCK, 0.3f, 1200.0f);
    scene->camangle = static_cast<float>(0.3f + QUARTER_TURN);
    scene->target = sock;
    tick();
    EXPECT_EQ(sock->mode, STATE_CALL);
    EXPECT_EQ(sock->vx, 0.0f);
    ASSERT_EQ(scene->structures->entities.size(), 1u);
    ENTITY* tower = scene->structures->entities.front();
    EXPECT_EQ(tower->type, TYPE_TOWER);
    EXPECT_EQ(tower->x, 0.3f);
    EXPECT_GE(tower->y, 1750.0f) << "550 px outward of the sock, then rising";
    EXPECT_LE(tower->y, 1755.0f);
    EXPECT_GE(tower->limit, 10.0f);
    EXPECT_LE(tower->limit, 19.0f);
    EXPECT_EQ(sock->limit, tower->limit * 10.0f);

    const int call = static_cast<int>(sock->limit);
    tick(call - 2);
    EXPECT_EQ(scene->target, sock) << "still calling one tick before the release";
    EXPECT_EQ(sock->mode, STATE_CALL);
    EXPECT_EQ(scene->structures->entities.size(), 1u) << "the caller calls one tower only";
    scene->modeticks = 77;
    tick();
    EXPECT_EQ(scene->target, nullptr) << "released when its timer reached its limit minus one";
    EXPECT_EQ(scene->modeticks, 1);
    EXPECT_EQ(sock->mode, STATE_WALK);
}

TEST_F(Choreography, NoTowerCallOffTheMarkNearATowerOrOutsideBuildFuture)
{
    struct Case {
        const char* what;
        int mode;
        float where;
        bool tower_near;
    };
    for (const Case& c : {Case{"off the mark", MODE_BUILDFUTURE, 0.35f, false},
                          Case{"tower near", MODE_BUILDFUTURE, 0.3f, true},
                          Case{"wandering", MODE_WANDER, 0.3f, false},
                          Case{"vacuum", MODE_VACUUM, 0.3f, false}}) {
        build(EMPTY_SCENE, c.mode);
        scene->camspin = 0;
        if (c.tower_near)
            place(scene->structures, TYPE_TOWER, c.where + 0.05f, 1800.0f);
        const size_t structures = scene->structures->entities.size();
        ENTITY* sock = place(scene->actors, TYPE_SOCK, c.where, 1200.0f);
        scene->camangle = static_cast<float>(c.where + QUARTER_TURN);
        scene->target = sock;
        tick();
        EXPECT_NE(sock->mode, STATE_CALL) << c.what;
        EXPECT_EQ(scene->structures->entities.size(), structures) << c.what;
    }
}

TEST_F(Choreography, NegativeMarksCountToo)
{
    build(EMPTY_SCENE, MODE_BUILDFUTURE);
    ENTITY* sock = place(scene->actors, TYPE_SOCK, -0.6f, 1200.0f);   // -0.6f lies just below -0.6: -60 hundredths
    scene->camangle = static_cast<float>(-0.6f + QUARTER_TURN);
    scene->target = sock;
    tick();
    EXPECT_EQ(sock->mode, STATE_CALL);
}

TEST_F(Choreography, VacuumLiftsAFollowedSockNearATowerAndItGoes)
{
    build(1, MODE_VACUUM);
    ENTITY* sock = place(scene->actors, TYPE_SOCK, 2.0f, 1200.0f);
    scene->camangle = static_cast<float>(2.0f + QUARTER_TURN);
    scene->target = sock;
    scene->modeticks = 100;
    tick();
    EXPECT_EQ(sock->mode, STATE_LIFT);
    EXPECT_EQ(scene->target, nullptr);
    EXPECT_EQ(scene->modeticks, 1);
    tick(60);
    EXPECT_FALSE(holds(scene->actors, sock)) << "shrunk away and removed";
}

TEST_F(Choreography, VacuumSparesASockBetweenTowers)
{
    build(1, MODE_VACUUM);
    ENTITY* sock = place(scene->actors, TYPE_SOCK, 2.25f, 1200.0f);
    scene->camangle = static_cast<float>(2.25f + QUARTER_TURN);
    scene->target = sock;
    tick();
    EXPECT_NE(sock->mode, STATE_LIFT);
    EXPECT_EQ(scene->target, sock);
}

TEST_F(Choreography, BuildFuturePicksASockAfterMoreThan249QuietTicks)
{
    build(1, MODE_BUILDFUTURE);
    tick(250);
    EXPECT_EQ(scene->target, nullptr);
    tick();
    ASSERT_NE(scene->target, nullptr);
    EXPECT_EQ(scene->target->type, TYPE_SOCK);
    EXPECT_EQ(scene->modeticks, 1);
}

// ---------------------------------------------------------------------------
// The climb and the sky names

// Scene 1 climbing, with eight names of which five are used up.
class Climb : public Choreography {
protected:
    std::vector<std::string> saved_names;

    void SetUp() override
    {
        saved_names = text().lines;
        text().lines = {"ADA", "BO", "CY", "DEE", "EVE", "FERN", "GUS", "HAL"};
        build(1, MODE_CLIMB);
        scene->nextname = 5;
    }
    void TearDown() override { text().lines = saved_names; }
};

TEST_F(Climb, RisingTowerIsDroppedAndAStoppedOneIsClimbedToSixHundredBelowItsTop)
{
    ENTITY* tower = place(scene->structures, TYPE_TOWER, static_cast<float>(under_camera(*scene)), 1800.0f);
    scene->modeticks = 250;
    tick();
    EXPECT_EQ(scene->target, nullptr) << "a rising tower is no climb";
    EXPECT_EQ(scene->modeticks, 251) << "so the pick is retried at once";

    tower->vy = 0;
    scene->camy = 1234.0f;
    tick();
    ASSERT_EQ(scene->target, tower);
    EXPECT_FLOAT_EQ(scene->camy, START_HEIGHT) << "the climb starts from the bottom";
    const float top = tower->absy();
    int climbed = 0;
    while (scene->mode == MODE_CLIMB && climbed < TICK_LIMIT) {
        const float before = scene->camy;
        tick();
        ++climbed;
        if (scene->mode != MODE_CLIMB)
            break;
        ASSERT_FLOAT_EQ(scene->camy, before + 10.0f) << "tick " << climbed;
    }
    EXPECT_EQ(scene->mode, MODE_SKYNAMES);
    EXPECT_GT(scene->camy, top - 610.0f);
    EXPECT_LE(top - 600.0f, scene->camy) << "stops no more than 600 px below the tower's top";
    EXPECT_EQ(climbed, static_cast<int>(std::ceil((top - 600.0f - START_HEIGHT) / 10.0f)) + 1);
}

TEST_F(Climb, SkyNamesLaunchFiveBoatsWithTheNextNamesThenTheFallback)
{
    // At the start height the first boat's speed differs by a last bit when worked out in float.
    for (float height : {1200.0f, START_HEIGHT}) {
        scene->camy = height;
        scene->nextname = 5;
        const double under = under_camera(*scene);
        const size_t before = scene->actors->entities.size();
        {
            TraceCapture trace;
            scene->setmode(MODE_SKYNAMES);
            EXPECT_EQ(count_occurrences(trace.text(), " FOLLOW MODE_SKYNAMES "), 1);
        }
        EXPECT_FLOAT_EQ(scene->camspin, 2 / height);
        ASSERT_EQ(scene->actors->entities.size(), before + 5);
        const std::vector<std::string> names = {"FERN", "GUS", "HAL", FALLBACKNAME, FALLBACKNAME};
        auto boat = std::next(scene->actors->entities.begin(), static_cast<long>(before));
        double previous = under;
        for (int j = 0; j < 5; ++j, ++boat) {
            ENTITY* b = *boat;
            const float r = height + 350.0f + 100.0f * j;
            EXPECT_EQ(b->type, TYPE_SKYBOAT);
            EXPECT_EQ(b->text, names[j]) << "boat " << j;
            EXPECT_FLOAT_EQ(b->y, r) << "boat " << j;
            const float speed = static_cast<float>(r * ((j % 2 ? 2.8 : 3.5) / height));   // in double, then stored
            EXPECT_EQ(b->vx, speed) << "boat " << j << " at " << height;
            EXPECT_GE(b->x - previous, 5 / (r * 10.0) - 1e-6) << "boat " << j;
            EXPECT_LE(b->x - previous, 9 / (r * 10.0) + 1e-6) << "boat " << j;
            previous = b->x;
        }
        EXPECT_EQ(scene->nextname, 8u) << "the fallback name uses up nothing";
    }
}

TEST_F(Climb, SkyNamesWithoutNamesCarryTheFallbackName)
{
    text().lines.clear();
    scene->nextname = 0;
    TraceSilencer quiet;
    scene->setmode(MODE_SKYNAMES);
    int boats = 0;
    for (ENTITY* e : scene->actors->entities) {
        if (e->type != TYPE_SKYBOAT)
            continue;
        EXPECT_EQ(e->text, FALLBACKNAME);
        ++boats;
    }
    EXPECT_EQ(boats, 5);
    EXPECT_EQ(scene->nextname, 0u);
}

TEST_F(Climb, AfterFiveHundredTicksOfSkyNamesTheNextClimbBegins)
{
    {
        TraceSilencer quiet;
        scene->setmode(MODE_SKYNAMES);
    }
    scene->camy = 1700.0f;
    tick(500);
    EXPECT_EQ(scene->mode, MODE_SKYNAMES);
    tick();
    EXPECT_EQ(scene->mode, MODE_CLIMB);
    EXPECT_FLOAT_EQ(scene->camy, START_HEIGHT);
    EXPECT_EQ(scene->camspin, 0.0f);
}

// ---------------------------------------------------------------------------
// Scene 2: the fridge visit

// The fridge the camera picked, once scene 2 has waited its 500 ticks.
ENTITY* wait_for_fridge_pick(SCENE& scene)
{
    scene.modeticks = 500;
    TraceSilencer quiet;
    scene.process();
    return scene.target;
}

TEST_F(Choreography, SceneTwoWaitsFiveHundredTicksBeforePickingAFridge)
{
    build(2, MODE_WANDER);
    tick(500);
    EXPECT_EQ(scene->target, nullptr);
    tick();
    ASSERT_NE(scene->target, nullptr);
    EXPECT_EQ(scene->target->type, TYPE_FRIDGE);
    EXPECT_EQ(scene->modeticks, 501) << "the pick itself does not reset the count";
}

TEST_F(Choreography, FridgeVisitLetsOutASockOpensForAHundredTicksAndSpinsTheWorld)
{
    build(2, MODE_WANDER);
    ENTITY* fridge = wait_for_fridge_pick(*scene);
    ASSERT_NE(fridge, nullptr);
    const size_t actors = scene->actors->entities.size();
    ASSERT_LT(tick_until_released(), TICK_LIMIT);
    EXPECT_EQ(fridge->mode, STATE_YELL);
    EXPECT_EQ(fridge->sprite, SPRITE_FRIDGE_OPEN);
    EXPECT_EQ(scene->modeticks, 1);
    ASSERT_GT(scene->actors->entities.size(), actors);
    ENTITY* sock = scene->actors->entities.back();
    EXPECT_EQ(sock->type, TYPE_SOCK);
    EXPECT_EQ(sock->y, 1200.0f);
    EXPECT_NEAR(sock->x - sock->vx / sock->y, fridge->absx(), 1e-5) << "made at the fridge, then walked one tick";
    const float pixels_per_tick = scene->camspin * scene->camy;
    EXPECT_NEAR(std::fabs(pixels_per_tick), std::round(std::fabs(pixels_per_tick)), 1e-3);
    EXPECT_GE(std::fabs(pixels_per_tick), 1.0f - 1e-3f);
    EXPECT_LE(std::fabs(pixels_per_tick), 5.0f + 1e-3f);

    tick(99);
    EXPECT_EQ(fridge->mode, STATE_YELL);
    tick();
    EXPECT_EQ(fridge->mode, STATE_IDLE);
    EXPECT_EQ(fridge->sprite, SPRITE_FRIDGE_CLOSED);
}

TEST_F(Choreography, FridgeVisitsSpinTheWorldBothWaysAtOneToFivePixels)
{
    build(2, MODE_WANDER);
    std::set<int> speeds;
    for (int visit = 0; visit < 8; ++visit) {
        ASSERT_NE(wait_for_fridge_pick(*scene), nullptr);
        ASSERT_LT(tick_until_released(), TICK_LIMIT);
        speeds.insert(static_cast<int>(std::lround(scene->camspin * scene->camy)));
    }
    for (int speed : speeds) {
        EXPECT_NE(speed, 0);
        EXPECT_LE(std::abs(speed), 5);
    }
    EXPECT_LT(*speeds.begin(), 0);
    EXPECT_GT(*speeds.rbegin(), 0);
}

// ---------------------------------------------------------------------------
// Modes

TEST_F(Choreography, EveryModeClearsTheTargetAndRestartsItsCount)
{
    build(EMPTY_SCENE, MODE_IDLE);
    ENTITY* marker = place(scene->structures, TYPE_DOME, 0.0f, 1500.0f);
    for (int mode : {int(MODE_IDLE), int(MODE_WANDER), int(MODE_BUILDFUTURE), 4, 5, int(MODE_CLIMB), 9}) {
        scene->target = marker;
        scene->modeticks = 321;
        scene->setmode(mode);
        EXPECT_EQ(scene->mode, mode);
        EXPECT_EQ(scene->target, nullptr) << "mode " << mode;
        EXPECT_EQ(scene->modeticks, 0) << "mode " << mode;
    }
}

TEST_F(Choreography, ModeEntriesSetTheSpinAndHeight)
{
    build(EMPTY_SCENE, MODE_IDLE);
    scene->camy = 800.0f;
    scene->setmode(MODE_WANDER);
    EXPECT_FLOAT_EQ(scene->camspin, 1 / 800.0f) << "one pixel per tick at the camera height";
    for (int keeps : {int(MODE_IDLE), 4, 5})
        scene->setmode(keeps);
    EXPECT_FLOAT_EQ(scene->camspin, 1 / 800.0f) << "idle and the unused modes leave the spin";
    scene->setmode(MODE_BUILDFUTURE);
    EXPECT_EQ(scene->camspin, 0.0f);
    scene->camspin = 1;
    scene->setmode(MODE_CLIMB);
    EXPECT_EQ(scene->camspin, 0.0f);
    EXPECT_FLOAT_EQ(scene->camy, START_HEIGHT);
    EXPECT_TRUE(scene->structures->entities.empty() && scene->actors->entities.empty())
        << "these modes make nothing";
}

TEST_F(Choreography, VacuumMakesFortyTowersHalfARadianApartAtEighteenHundred)
{
    build(EMPTY_SCENE, MODE_IDLE);
    scene->camspin = 1;
    {
        TraceSilencer quiet;
        scene->setmode(MODE_VACUUM);
    }
    EXPECT_EQ(scene->camspin, 0.0f);
    ASSERT_EQ(scene->structures->entities.size(), 40u);
    float expected = -5.0f;
    for (ENTITY* tower : scene->structures->entities) {
        EXPECT_EQ(tower->type, TYPE_TOWER);
        EXPECT_EQ(tower->x, expected);
        EXPECT_EQ(tower->y, 1800.0f);
        expected += 0.5f;
    }
}

// ---------------------------------------------------------------------------
// Spawning in scene 1

TEST_F(Choreography, WanderingSpawnsSocksAtWholeRadiansAfterHundredQuietTicksAndBobsTheCamera)
{
    build(1, MODE_WANDER);
    std::vector<int> spawn_ticks;
    std::set<int> sock_angles;
    std::set<int> cloud_angles;
    float lowest = scene->camy;
    float highest = scene->camy;
    for (int t = 1; t <= 1500; ++t) {
        const std::set<ENTITY*> socks_before(scene->actors->entities.begin(), scene->actors->entities.end());
        const std::set<ENTITY*> near_before(scene->bkg2->entities.begin(), scene->bkg2->entities.end());
        const std::set<ENTITY*> far_before(scene->bkg1->entities.begin(), scene->bkg1->entities.end());
        tick();
        lowest = std::min(lowest, scene->camy);
        highest = std::max(highest, scene->camy);
        // Checks the entities of `type` made this tick; returns how many there were.
        auto spawned = [](ENTITYSWARM* swarm, const std::set<ENTITY*>& before, int type, std::set<int>& angles) {
            int made = 0;
            for (ENTITY* e : swarm->entities) {
                if (e->type != type || before.count(e))
                    continue;
                const double made_at = e->x - e->vx / e->y;   // undo the one tick it has moved
                EXPECT_NEAR(made_at, std::round(made_at), 1e-4) << "type " << type;
                angles.insert(static_cast<int>(std::lround(made_at)));
                ++made;
                if (type == TYPE_CLOUD) {
                    EXPECT_GE(e->y, 1500.0f);
                    EXPECT_LT(e->y, 3500.0f);
                }
            }
            return made;
        };
        if (spawned(scene->actors, socks_before, TYPE_SOCK, sock_angles) > 0)
            spawn_ticks.push_back(t);
        spawned(scene->bkg2, near_before, TYPE_CLOUD, cloud_angles);
        spawned(scene->bkg1, far_before, TYPE_CLOUD, cloud_angles);
    }
    ASSERT_GE(spawn_ticks.size(), 5u);
    EXPECT_GE(spawn_ticks.front(), 101) << "a hundred quiet ticks after the mode began";
    for (size_t i = 1; i < spawn_ticks.size(); ++i)
        EXPECT_GE(spawn_ticks[i] - spawn_ticks[i - 1], 100) << "each spawn restarts the wait";
    EXPECT_GE(*sock_angles.begin(), 0);
    EXPECT_LE(*sock_angles.rbegin(), 12);
    ASSERT_FALSE(cloud_angles.empty());
    EXPECT_GE(*cloud_angles.begin(), 0);
    EXPECT_LE(*cloud_angles.rbegin(), 18);
    EXPECT_NEAR(highest - lowest, 20.0f, 1.5f) << "the camera bobs about 20 px";
}

// ---------------------------------------------------------------------------
// The scroll text

TEST_F(Choreography, ScrollTextIsMadeOnceAtTickFiveHundredEvenWhenStopped)
{
    for (int number : {1, 2}) {
        build(number, MODE_IDLE);
        scene->run(false);
        auto frames = [this] {
            int n = 0;
            for (ENTITY* e : scene->actors->entities)
                n += e->type == TYPE_TEXTFRAME;
            return n;
        };
        tick(500);
        EXPECT_EQ(frames(), 0) << "scene " << number;
        tick();
        ASSERT_EQ(frames(), 1) << "scene " << number;
        ENTITY* frame = scene->actors->entities.back();
        EXPECT_EQ(frame->text, number == 1 ? SCROLLTEXT1 : SCROLLTEXT2);
        EXPECT_EQ(frame->x, 0.0f);
        EXPECT_EQ(frame->y, 1400.0f);
        EXPECT_EQ(frame->vx, -7.0f);
        EXPECT_EQ(frame->mode, STATE_WALK);
        EXPECT_EQ(frame->limit, 30.0f);
        tick(700);
        EXPECT_EQ(frames(), 1) << "never again, scene " << number;
        EXPECT_EQ(frame->x, 0.0f) << "a stopped scene does not move it";
    }
}

TEST_F(Choreography, ScrollTextTravelsRightToLeftSevenPixelsPerTick)
{
    build(EMPTY_SCENE, MODE_IDLE);
    scene->ticks = 500;
    tick();
    ENTITY* frame = scene->actors->entities.back();
    EXPECT_EQ(frame->text, SCROLLTEXT2) << "any scene but the first shows the second text";
    tick(10);
    EXPECT_NEAR(frame->x, -70.0 / 1400.0, 1e-6);
}

TEST(ScrollTexts, LengthsOpeningAndCharactersFitTheFont)
{
    const std::string first = SCROLLTEXT1;
    const std::string second = SCROLLTEXT2;
    EXPECT_EQ(first.size(), 598u);
    EXPECT_EQ(second.size(), 286u);
    EXPECT_EQ(first.rfind("Quoravint", 0), 0u);
    for (const std::string& text : {first, second})
        for (char c : text)
            EXPECT_NE(std::strchr(charmap, c), nullptr) << "'" << c << "' is not in the font";
    const std::string fallback = FALLBACKNAME;
    EXPECT_EQ(fallback.size(), 9u);
    for (char c : fallback) {
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(c))) << fallback;
        EXPECT_NE(std::strchr(charmap, c), nullptr);
    }
}

} // namespace
