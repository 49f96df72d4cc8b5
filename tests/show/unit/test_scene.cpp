// Scene construction, the frame of a scene tick, the arrow keys and the camera guard at low heights.
#include "entity.h"
#include "entityswarm.h"
#include "gfx.h"
#include "host_services.h"
#include "scene.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

constexpr unsigned SEED = 20261207;            // any fixed seed: the tests only need repeatable draws
constexpr float RIGHT_KEY_STEP = 0.005f;       // 5 / 1000: the arrow-key turn at the start height
constexpr float NEAR_GROUND = 0.5f;            // a camera height between 0 and 1
constexpr int MANY_TICKS = 50;                 // long enough for every key to act many times over
constexpr double ANGLE_SLACK = 1e-4;           // radians of float rounding in a stored angle

// How many entities of `type` the swarm holds.
int count_type(ENTITYSWARM* swarm, int type)
{
    int n = 0;
    for (ENTITY* e : swarm->entities)
        n += e->type == type;
    return n;
}

// A scene built from a seeded generator, its construction trace discarded.
SCENE* built_scene(int number)
{
    TraceSilencer quiet;
    seed_show_random(SEED);
    return new SCENE(number);
}

// `times` ticks of the scene with the keys `input` holds, the trace discarded.
void tick(SCENE& scene, int times = 1, const TickInput& input = TickInput())
{
    TraceSilencer quiet;
    for (int i = 0; i < times; ++i)
        scene.process(input);
}

// Positions of every entity of the swarm, in list order.
std::vector<std::pair<float, float>> positions(ENTITYSWARM* swarm)
{
    std::vector<std::pair<float, float>> all;
    for (ENTITY* e : swarm->entities)
        all.emplace_back(e->x, e->y);
    return all;
}

TEST(SceneConstruction, SceneOneHoldsItsPlanet)
{
    SCENE* scene = built_scene(1);
    EXPECT_EQ(scene->actors->entities.size(), 1540u);
    EXPECT_EQ(scene->bkg1->entities.size(), 20u);
    EXPECT_EQ(scene->bkg2->entities.size(), 20u);
    EXPECT_EQ(scene->backdrop->entities.size(), 2u);
    EXPECT_EQ(scene->core->entities.size(), 1u);
    EXPECT_TRUE(scene->structures->entities.empty());

    EXPECT_EQ(count_type(scene->actors, TYPE_GRASS), 1500);
    EXPECT_EQ(count_type(scene->actors, TYPE_SOCK), 40);
    EXPECT_EQ(count_type(scene->bkg1, TYPE_SHRUB), 20);
    EXPECT_EQ(count_type(scene->bkg2, TYPE_SHRUB), 20);
    EXPECT_EQ(scene->backdrop->entities.front()->type, TYPE_SKY);
    EXPECT_EQ(scene->backdrop->entities.back()->type, TYPE_SKYSPAWNER);
    EXPECT_EQ(scene->core->entities.front()->type, TYPE_GROUNDCORE);
    EXPECT_EQ(scene->core->entities.front()->mode, STATE_IDLE);
}

TEST(SceneConstruction, GrassRingSpansEightAndAHalfTurnsAtRadiusOneThousand)
{
    SCENE* scene = built_scene(1);
    ENTITY* first = scene->actors->entities.front();
    EXPECT_NEAR(first->x, -500 / 27.5, ANGLE_SLACK);
    int blades = 0;
    float previous = first->x - 1 / 27.5f;
    for (ENTITY* e : scene->actors->entities) {
        if (e->type != TYPE_GRASS)
            continue;
        EXPECT_NEAR(e->x - previous, 1 / 27.5, ANGLE_SLACK) << "blade " << blades;
        EXPECT_EQ(e->y, 1000.0f);
        previous = e->x;
        ++blades;
    }
    EXPECT_NEAR(previous, 999 / 27.5, ANGLE_SLACK);
}

TEST(SceneConstruction, SocksAndShrubsStandOnWholeDegreesOverTwoTurns)
{
    SCENE* scene = built_scene(1);
    auto check_whole_degrees = [](ENTITYSWARM* swarm, int type, float radius) {
        for (ENTITY* e : swarm->entities) {
            if (e->type != type)
                continue;
            const double degrees = e->x * 57.29577957855229;
            EXPECT_NEAR(degrees, std::round(degrees), 1e-3);
            EXPECT_GE(e->x, 0.0f);
            EXPECT_LT(e->x, 720 / 57.29577957855229);
            EXPECT_EQ(e->y, radius);
        }
    };
    check_whole_degrees(scene->actors, TYPE_SOCK, 1200.0f);
    check_whole_degrees(scene->bkg2, TYPE_SHRUB, 1170.0f);
    check_whole_degrees(scene->bkg1, TYPE_SHRUB, 1200.0f);
}

TEST(SceneConstruction, LayersHaveTheirScalesAndTheBackdropIsFlat)
{
    SCENE* scene = built_scene(1);
    EXPECT_EQ(scene->backdrop->drawmode, 0);
    EXPECT_FLOAT_EQ(scene->backdrop->scale, 0.8f);
    EXPECT_FLOAT_EQ(scene->bkg1->scale, 0.5f);
    EXPECT_FLOAT_EQ(scene->bkg2->scale, 0.7f);
    for (ENTITYSWARM* world : {scene->bkg1, scene->bkg2, scene->core, scene->structures, scene->actors}) {
        EXPECT_EQ(world->drawmode, 1);
        EXPECT_EQ(world->scene, scene);
    }
    for (ENTITYSWARM* unit : {scene->core, scene->structures, scene->actors})
        EXPECT_FLOAT_EQ(unit->scale, 1.0f);
    for (ENTITY* e : scene->backdrop->entities) {
        EXPECT_EQ(e->x, HALF_WIDTH);
        EXPECT_EQ(e->y, HALF_HEIGHT);
    }
    EXPECT_FALSE(scene->running);
    EXPECT_FALSE(scene->visible);
    EXPECT_EQ(scene->target, nullptr);
    EXPECT_FLOAT_EQ(scene->camangle, 1.2f);
    EXPECT_FLOAT_EQ(scene->camy, 1000.0f);
    EXPECT_EQ(scene->camspin, 0.0f);
    EXPECT_EQ(scene->ticks, 0);
    EXPECT_EQ(scene->nextname, 0u);
}

TEST(SceneConstruction, SceneTwoIsTheKitchenPlanet)
{
    SCENE* scene = built_scene(2);
    EXPECT_EQ(scene->actors->entities.size(), 1000u);
    EXPECT_TRUE(scene->bkg1->entities.empty());
    EXPECT_TRUE(scene->bkg2->entities.empty());
    EXPECT_EQ(scene->backdrop->entities.size(), 2u);
    EXPECT_EQ(scene->backdrop->entities.front()->type, TYPE_STONESPAWNER);
    EXPECT_EQ(scene->backdrop->entities.back()->type, TYPE_STONE);
    EXPECT_EQ(count_type(scene->actors, TYPE_DOMEFLOOR), 1000);
    EXPECT_NEAR(scene->actors->entities.front()->x, -250 / 26.0, ANGLE_SLACK);
    EXPECT_NEAR(scene->actors->entities.back()->x, 749 / 26.0, ANGLE_SLACK);

    ASSERT_EQ(scene->core->entities.size(), 1u);
    ENTITY* core = scene->core->entities.front();
    EXPECT_EQ(core->type, TYPE_GROUNDCORE);
    EXPECT_EQ(core->sprite, SPRITE_SKY0);
    EXPECT_EQ(core->mode, STATE_WALK);
}

TEST(SceneConstruction, KitchenStandsOnTwoTurnsAtGapsOfThirtySixtyOrNinetyDegrees)
{
    for (unsigned seed : {1u, 2u, 3u, 99u, SEED}) {
        TraceSilencer quiet;
        seed_show_random(seed);
        SCENE scene(2);
        const size_t count = scene.structures->entities.size();
        EXPECT_GE(count, 8u) << "seed " << seed;
        EXPECT_LE(count, 24u) << "seed " << seed;
        EXPECT_EQ(scene.structures->entities.front()->x, 0.0f) << "seed " << seed;
        double previous = -1;
        for (ENTITY* e : scene.structures->entities) {
            const double degrees = e->x * 57.29577957855229;
            EXPECT_LT(degrees, 720.0);
            if (previous >= 0) {
                const long gap = std::lround(degrees - previous);
                EXPECT_TRUE(gap == 30 || gap == 60 || gap == 90) << "gap " << gap << ", seed " << seed;
            }
            previous = degrees;
            ASSERT_TRUE(e->type == TYPE_FRIDGE || e->type == TYPE_TABLE);
            EXPECT_EQ(e->y, e->type == TYPE_FRIDGE ? 1430.0f : 1200.0f);
        }
    }
}

TEST(SceneConstruction, TheSameGeneratorStateBuildsTheSameLayout)
{
    SCENE* one = built_scene(2);
    SCENE* two = built_scene(2);
    EXPECT_EQ(positions(one->structures), positions(two->structures));
    SCENE* three = built_scene(1);
    SCENE* four = built_scene(1);
    EXPECT_EQ(positions(three->actors), positions(four->actors));
    EXPECT_EQ(positions(three->bkg1), positions(four->bkg1));
}

TEST(SceneConstruction, AnyOtherNumberIsAnEmptySceneThatTurns)
{
    seed_show_random(SEED);
    const int expected_turn = show_rand() % 10;
    SCENE* scene = built_scene(5);
    for (ENTITYSWARM* layer : {scene->actors, scene->structures, scene->bkg1, scene->bkg2, scene->backdrop, scene->core})
        EXPECT_TRUE(layer->entities.empty());
    EXPECT_FLOAT_EQ(scene->camspin, expected_turn / 1000.0f);
}

// A scene for the tick tests: scene 1, running, with no key held and no spin.
class SceneTick : public ::testing::Test {
protected:
    SCENE* scene = nullptr;
    TickInput keys;   // the arrow keys the fixture's ticks hold

    void SetUp() override
    {
        scene = built_scene(1);
        scene->mode = MODE_IDLE;
        scene->run(true);
    }
};

TEST_F(SceneTick, WritesTheFarLayerCountOnceAndCountsItsTicks)
{
    TraceCapture trace;
    scene->process();
    EXPECT_EQ(count_occurrences(trace.text(), "BKG1: 20\n"), 1);
    EXPECT_EQ(trace.text().rfind("BKG1: ", 0), 0u) << "the count opens the tick";
    EXPECT_EQ(scene->ticks, 1);
    EXPECT_EQ(scene->modeticks, 1);
}

TEST_F(SceneTick, AStoppedSceneCountsAndTurnsButItsWorldStandsStill)
{
    scene->run(false);
    scene->camspin = 0.01f;
    scene->camlift = 2.0f;
    keys.right = true;
    keys.up = true;
    const auto socks_before = positions(scene->actors);
    const auto specks_before = scene->core->entities.size();
    const float angle_before = scene->camangle;
    TraceCapture trace;
    scene->process(keys);
    scene->process(keys);
    EXPECT_EQ(count_occurrences(trace.text(), "BKG1: "), 2);
    EXPECT_EQ(count_occurrences(trace.text(), "SOCK "), 0) << "no entity ran";
    EXPECT_EQ(scene->ticks, 2);
    EXPECT_EQ(scene->modeticks, 2);
    EXPECT_FLOAT_EQ(scene->camangle, angle_before + 0.02f) << "only the spin turned it, not the key";
    EXPECT_FLOAT_EQ(scene->camy, 1004.0f) << "only the lift raised it, not the key";
    EXPECT_EQ(positions(scene->actors), socks_before);
    EXPECT_EQ(scene->core->entities.size(), specks_before);
}

TEST_F(SceneTick, ARunningSceneMovesItsLayers)
{
    const auto before = positions(scene->actors);
    tick(*scene, 1, keys);
    EXPECT_NE(positions(scene->actors), before);
}

TEST_F(SceneTick, RightAndLeftKeysTurnByFivePixelsAtTheCameraHeight)
{
    const float start = scene->camangle;
    keys.right = true;
    tick(*scene, 1, keys);
    EXPECT_FLOAT_EQ(scene->camangle, start + RIGHT_KEY_STEP);
    keys.right = false;
    keys.left = true;
    tick(*scene, 2, keys);
    EXPECT_FLOAT_EQ(scene->camangle, start - RIGHT_KEY_STEP);
    keys.right = true;
    tick(*scene, 1, keys);
    EXPECT_FLOAT_EQ(scene->camangle, start - RIGHT_KEY_STEP) << "both keys held cancel";
    scene->camy = 500.0f;
    keys.left = false;
    tick(*scene, 1, keys);
    EXPECT_FLOAT_EQ(scene->camangle, start + RIGHT_KEY_STEP) << "twice the step at half the height";
}

TEST_F(SceneTick, FullTurnWithTheRightKeyTakesAboutTwelveHundredFiftySevenTicks)
{
    const float start = scene->camangle;
    keys.right = true;
    int held = 0;
    {
        TraceSilencer quiet;
        while (scene->camangle - start < 2 * HALF_TURN)
            scene->process(keys), ++held;
    }
    EXPECT_NEAR(held, 1257, 2);
}

TEST_F(SceneTick, UpAndDownKeysLiftTenPixelsAndDownStopsAtTheGround)
{
    keys.up = true;
    tick(*scene, 3, keys);
    EXPECT_FLOAT_EQ(scene->camy, 1030.0f);
    keys.up = false;
    keys.down = true;
    scene->camy = 25.0f;
    tick(*scene, MANY_TICKS, keys);
    EXPECT_FLOAT_EQ(scene->camy, -5.0f) << "25, 15, 5, -5 and no further";
    keys.down = false;
    keys.up = true;
    tick(*scene, 1, keys);
    EXPECT_FLOAT_EQ(scene->camy, 5.0f) << "up works below the ground";
}

TEST_F(SceneTick, AtOrBelowTheGroundTheSideKeysDoNothing)
{
    for (float height : {0.0f, -5.0f}) {
        scene->camy = height;
        const float start = scene->camangle;
        keys.right = true;
        tick(*scene, 3, keys);
        keys.right = false;
        keys.left = true;
        tick(*scene, 3, keys);
        keys.left = false;
        EXPECT_EQ(scene->camangle, start) << "height " << height;
    }
}

TEST_F(SceneTick, CameraStepNeverExceedsFiveRadiansNorTurnsNegative)
{
    for (float height : {1000.0f, 5.0f, 1.0f, NEAR_GROUND, 0.0f, -0.5f, -10.0f}) {
        scene->camy = height;
        const float step = scene->camera_step();
        EXPECT_TRUE(std::isfinite(step)) << "height " << height;
        EXPECT_GT(step, 0.0f) << "height " << height;
        EXPECT_LE(step, 5.0f) << "height " << height;
    }
    scene->camy = 1000.0f;
    EXPECT_FLOAT_EQ(scene->camera_step(), RIGHT_KEY_STEP);
}

TEST_F(SceneTick, JustAboveTheGroundTheKeyTurnsOneGuardedStepForward)
{
    scene->camy = NEAR_GROUND;
    const float start = scene->camangle;
    keys.right = true;
    tick(*scene, 1, keys);
    EXPECT_FLOAT_EQ(scene->camangle, start + 5.0f) << "a height below 1 counts as 1";
}

TEST_F(SceneTick, SpinAtOrBelowTheGroundStaysForwardAndBounded)
{
    for (float height : {0.0f, -5.0f, NEAR_GROUND}) {
        scene->camy = height;
        scene->setmode(MODE_WANDER);
        EXPECT_FLOAT_EQ(scene->camspin, 1.0f) << "height " << height;
    }
}

TEST_F(SceneTick, FollowingAtOrBelowTheGroundApproachesWithoutReversing)
{
    ENTITY* marker = new ENTITY(scene->structures, nullptr, scene->camangle - QUARTER_TURN + 20.5f, 1500.0f,
                                TYPE_DOME, 0, 0, 0, " ", STATE_IDLE);
    {
        TraceSilencer quiet;
        scene->structures->add_entity(marker);
    }
    scene->camy = -5.0f;
    scene->target = marker;
    float previous = scene->camangle;
    for (int i = 0; i < MANY_TICKS && scene->target; ++i) {
        tick(*scene, 1, keys);
        ASSERT_TRUE(std::isfinite(scene->camangle));
        ASSERT_GE(scene->camangle, previous) << "the camera turned away from the target at tick " << i;
        previous = scene->camangle;
    }
    EXPECT_FLOAT_EQ(scene->camangle, static_cast<float>(marker->absx() + QUARTER_TURN)) << "it arrived";
}

} // namespace
