// Entity swarms: ownership, the "ADD " trace and the cap, the order of a tick's pass,
// the near test along x, the random pick and the inherited layer scale.
#include "entity_testing.h"
#include "host_services.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <malloc.h>

namespace {

constexpr float WORLD_RADIUS = 1000.0f;   // radius of the reference entity: a near window of 0.12 radians

class SwarmTest : public ::testing::Test {
protected:
    TraceSilencer quiet;
    TestScene held;
    SCENE& scene = held.scene;
};

TEST_F(SwarmTest, ConstructorsLinkToExactlyOneHolder)
{
    ENTITYSWARM layer(&scene, 0.7f);
    EXPECT_EQ(layer.scene, &scene);
    EXPECT_EQ(layer.owner, nullptr);
    EXPECT_FLOAT_EQ(layer.scale, 0.7f);
    EXPECT_EQ(layer.drawmode, 1);
    EXPECT_TRUE(layer.entities.empty());

    ENTITY* e = add_new(scene.actors, 0, 0, TYPE_BLOCK);
    ENTITYSWARM childswarm(e, 0.3f);
    EXPECT_EQ(childswarm.scene, nullptr);
    EXPECT_EQ(childswarm.owner, e);
    EXPECT_FLOAT_EQ(childswarm.scale, 1.0f);   // the argument is not kept
    EXPECT_EQ(childswarm.drawmode, 1);
}

// --- Adding ------------------------------------------------------------------------

TEST_F(SwarmTest, AddTracesTheCameraOnlyInASceneLayer)
{
    scene.camangle = 0.5f;
    scene.camy = 1200.0f;
    ENTITY* first = new ENTITY(scene.actors, nullptr, 0, 0, TYPE_BLOCK, 0, 0, 0, " ", STATE_IDLE);
    ENTITY* second = new ENTITY(scene.actors, nullptr, 0, 0, TYPE_BLOCK, 0, 0, 0, " ", STATE_IDLE);
    ENTITY* child = new ENTITY(first->children, first, 0, 0, TYPE_BLOCK, 0, 0, 0, " ", STATE_IDLE);
    TraceCapture trace;
    scene.actors->add_entity(first);
    scene.actors->add_entity(second);
    first->children->add_entity(child);
    EXPECT_EQ(trace.text(), "ADD (0.5,1200)ADD (0.5,1200)ADD ");
    EXPECT_EQ(scene.actors->entities, (std::list<ENTITY*>{first, second}));
    EXPECT_EQ(first->children->entities, std::list<ENTITY*>{child});
}

// Bytes the allocator has handed out and not taken back.
size_t heap_in_use()
{
    return mallinfo2().uordblks;
}

TEST_F(SwarmTest, SpawnFinishesTheEntityBeforeTheSwarmTakesIt)
{
    scene.camangle = 0.5f;
    scene.camy = 1200.0f;
    bool outside = false;
    TraceCapture trace;
    ENTITY* boat = scene.actors->spawn(nullptr, 0.25f, 1100.0f, TYPE_SKYBOAT, 2.0f, "AB", [&](ENTITY&) {
        outside = scene.actors->entities.empty();
        ::trace() << "PREPARED ";
    });
    ASSERT_NE(boat, nullptr);
    EXPECT_TRUE(outside) << "prepared after the swarm took it";
    EXPECT_EQ(scene.actors->entities, std::list<ENTITY*>{boat});
    EXPECT_EQ(trace.text().substr(trace.text().find("PREPARED")), "PREPARED ADD (0.5,1200)");
    EXPECT_EQ(boat->swarm, scene.actors);
    EXPECT_EQ(boat->parent, nullptr);
    EXPECT_FLOAT_EQ(boat->x, 0.25f);
    EXPECT_FLOAT_EQ(boat->y, 1100.0f);
    EXPECT_FLOAT_EQ(boat->vx, 2.0f);
    EXPECT_EQ(boat->facing, 1) << "the creator's speed reaches the boat's set-up";
    EXPECT_EQ(boat->text, "AB");
    EXPECT_EQ(boat->vy, 0.0f);
    EXPECT_EQ(boat->mode, STATE_IDLE);
}

TEST_F(SwarmTest, FullSwarmRefusesSilentlyAndReleasesTheRefused)
{
    ENTITYSWARM* full = scene.bkg1;
    for (size_t i = 0; i < MAX_SWARM_ENTITIES; ++i)
        add_new(full, 0, 0, TYPE_BLOCK);
    ASSERT_EQ(full->entities.size(), 20000u);

    constexpr int REFUSALS = 500;   // enough refused tables to show plainly in the heap if they were kept
    std::vector<ENTITY*> refused;
    refused.reserve(REFUSALS);
    const size_t before = heap_in_use();
    for (int i = 0; i < REFUSALS; ++i)
        refused.push_back(new ENTITY(full, nullptr, 0, 0, TYPE_TABLE, 0, 0, 0, " ", STATE_IDLE));
    {
        TraceCapture trace;
        for (ENTITY* e : refused)
            full->add_entity(e);
        EXPECT_EQ(trace.text(), "");
    }
    const size_t after = heap_in_use();
    EXPECT_EQ(full->entities.size(), 20000u);
    const size_t one_table = 2 * (sizeof(ENTITY) + sizeof(ENTITYSWARM));   // a table and its bowl
    EXPECT_LT(after, before + REFUSALS * one_table / 10) << "refused entities were kept";

    // Spawning into the full swarm still finishes the entity, then hands back no freed pointer.
    bool prepared = false;
    TraceCapture trace;
    EXPECT_EQ(full->spawn(nullptr, 0, 0, TYPE_BLOCK, 0, NO_TEXT, [&](ENTITY&) { prepared = true; }), nullptr);
    EXPECT_TRUE(prepared);
    EXPECT_EQ(add_new(full, 0, 0, TYPE_BLOCK), nullptr);
    EXPECT_EQ(trace.text(), "");
    EXPECT_EQ(full->entities.size(), 20000u);
}

// --- Processing --------------------------------------------------------------------

TEST_F(SwarmTest, EmptySwarmPassesQuietly)
{
    TraceCapture trace;
    scene.actors->process();
    EXPECT_EQ(trace.text(), "");
}

TEST_F(SwarmTest, PassTicksInListOrderAppendsLateAndDropsTheDeadAtOnce)
{
    ENTITYSWARM* layer = scene.core;
    ENTITY* core = add_new(layer, 0, 0, TYPE_GROUNDCORE);
    ENTITY* cloud = add_new(layer, 1.0f, WORLD_RADIUS, TYPE_CLOUD);
    cloud->zoom = -0.5f;   // shrunk away: dies in its tick
    ENTITY* sock = add_new(layer, 1.0f, WORLD_RADIUS, TYPE_SOCK);
    sock->mode = STATE_IDLE;
    sock->limit = 1000;   // stands: its tick takes no draws

    seed_next_residue(3, 1);   // the core adds a speck at the end of the list
    TraceCapture trace;
    layer->process();
    const std::string text = trace.text();

    const size_t at_core = text.find("GROUNDCORE");
    const size_t at_cloud = text.find("OAR ");
    const size_t at_sock = text.find("SOCK ");
    ASSERT_NE(at_core, std::string::npos);
    ASSERT_NE(at_cloud, std::string::npos);
    ASSERT_NE(at_sock, std::string::npos);
    EXPECT_LT(at_core, at_cloud);
    EXPECT_LT(at_cloud, at_sock);

    ASSERT_EQ(layer->entities.size(), 3u);
    auto at = layer->entities.begin();
    EXPECT_EQ(*at++, core);
    EXPECT_EQ(*at++, sock);
    ENTITY* speck = *at;
    EXPECT_EQ(speck->type, TYPE_SPECK);
    EXPECT_EQ(speck->frametime, 1) << "an entity added during the pass gets its tick in the same pass";
    EXPECT_EQ(core->frametime, 1);
    EXPECT_EQ(sock->frametime, 1);
}

TEST_F(SwarmTest, EntityKilledByAnotherGoesAfterItsOwnTick)
{
    ENTITYSWARM* layer = scene.actors;
    ENTITY* first = add_new(layer, 0, WORLD_RADIUS, TYPE_BLOCK);
    ENTITY* middle = add_new(layer, 0, WORLD_RADIUS, TYPE_BLOCK);
    ENTITY* last = add_new(layer, 0, WORLD_RADIUS, TYPE_BLOCK);
    first->alive = false;
    last->alive = false;
    layer->process();
    EXPECT_EQ(layer->entities, std::list<ENTITY*>{middle});
    EXPECT_EQ(middle->frametime, 1);
}

TEST_F(SwarmTest, DeadChildrenAreGoneBeforeTheirOwnerActs)
{
    ENTITY* frame = add_new(scene.actors, 0, 1500.0f, TYPE_TEXTFRAME);
    ENTITY* dot = add_child_of(frame, 0, 0, TYPE_TEXTDOT);
    dot->y = -900.0f;   // below radius 1000: dies in its first tick
    frame->process();
    EXPECT_TRUE(frame->children->entities.empty());
}

// --- Near along x --------------------------------------------------------------------

// A reference sock in the actors layer at (x, y), standing still.
ENTITY* reference(SCENE& scene, float x, float y)
{
    ENTITY* who = add_new(scene.actors, x, y, TYPE_SOCK);
    who->vx = 0;
    return who;
}

TEST_F(SwarmTest, NearWindowIsStrictOnBothSides)
{
    ENTITY* who = reference(scene, 1.0f, WORLD_RADIUS);
    const float r = 120.0f / WORLD_RADIUS;
    const float right_edge = 1.0f + r;
    const float left_edge = 1.0f - r;
    const struct {
        float where;
        bool near;
    } cases[] = {
        {right_edge, false},
        {left_edge, false},
        {std::nextafter(right_edge, 0.0f), true},
        {std::nextafter(left_edge, 2.0f), true},
        {1.0f, true},
        {1.0f + 2 * HALF_TURN, false},   // angles are not reduced to one turn
    };
    for (const auto& c : cases) {
        ENTITYSWARM towers(&scene, 1.0f);
        add_new(&towers, c.where, 2000.0f, TYPE_TOWER);
        EXPECT_EQ(towers.entnearx(TYPE_TOWER, who), c.near) << "tower at " << c.where;
    }
}

TEST_F(SwarmTest, NearTracesEachCheckUntilTheFirstHit)
{
    ENTITY* who = reference(scene, 1.0f, WORLD_RADIUS);
    ENTITYSWARM* towers = scene.structures;
    add_new(towers, 2.0f, 2000.0f, TYPE_TOWER);
    add_new(towers, 1.0f, 2000.0f, TYPE_FRIDGE);   // another type: not even checked
    add_new(towers, 1.05f, 2000.0f, TYPE_TOWER);
    add_new(towers, 1.0f, 2000.0f, TYPE_TOWER);    // behind the hit: never checked
    TraceCapture trace;
    EXPECT_TRUE(towers->entnearx(TYPE_TOWER, who));
    EXPECT_EQ(trace.text(), "CHECK 7:x 1 2: 2CHECK 7:x 1 2: 1.05PROXIMITY TYPE 2\n");
}

TEST_F(SwarmTest, NearWithoutAHitEndsTheLine)
{
    ENTITY* who = reference(scene, 1.0f, WORLD_RADIUS);
    {
        TraceCapture trace;
        EXPECT_FALSE(scene.structures->entnearx(TYPE_TOWER, who));
        EXPECT_EQ(trace.text(), "\n");
    }
    add_new(scene.structures, 3.0f, 2000.0f, TYPE_TOWER);
    TraceCapture trace;
    EXPECT_FALSE(scene.structures->entnearx(TYPE_TOWER, who));
    EXPECT_EQ(trace.text(), "CHECK 7:x 1 2: 3\n");
}

TEST_F(SwarmTest, ReferenceAtTheCentreIsNearEverythingAndBelowItNothing)
{
    add_new(scene.structures, 100.0f, 2000.0f, TYPE_TOWER);
    EXPECT_TRUE(scene.structures->entnearx(TYPE_TOWER, reference(scene, -50.0f, 0.0f)));
    EXPECT_FALSE(scene.structures->entnearx(TYPE_TOWER, reference(scene, 100.0f, -10.0f)));
}

TEST_F(SwarmTest, NearUsesAbsolutePositions)
{
    ENTITY* owner = add_new(scene.actors, 1.0f, 500.0f, TYPE_BLOCK);
    ENTITY* who = add_child_of(owner, 1.0f, 500.0f, TYPE_BLOCK);   // at (2, 1000) in the world
    ENTITY* holder = add_new(scene.structures, 1.5f, 2000.0f, TYPE_BLOCK);
    add_child_of(holder, 0.55f, 0, TYPE_TOWER);                      // at 2.05: within 0.12
    EXPECT_TRUE(holder->children->entnearx(TYPE_TOWER, who));
}

TEST_F(SwarmTest, TowerFindsItselfInItsOwnSwarm)
{
    ENTITY* tower = add_new(scene.structures, 1.0f, 2000.0f, TYPE_TOWER);
    add_new(scene.structures, 3.0f, 2000.0f, TYPE_TOWER);
    EXPECT_TRUE(scene.structures->entnearx(TYPE_TOWER, tower));
}

// --- Random pick -------------------------------------------------------------------

TEST_F(SwarmTest, RandomPickSkipsTheDeadAndOtherKinds)
{
    ENTITYSWARM* layer = scene.actors;
    ENTITY* dead = add_new(layer, 0, WORLD_RADIUS, TYPE_SOCK);
    dead->alive = false;
    ENTITY* a = add_new(layer, 0, WORLD_RADIUS, TYPE_SOCK);
    add_new(layer, 0, WORLD_RADIUS, TYPE_GRASS);
    ENTITY* b = add_new(layer, 0, WORLD_RADIUS, TYPE_SOCK);
    for (unsigned seed = 1; seed <= 6; ++seed) {
        seed_show_random(seed);
        ENTITY* expected = show_rand() % 2 ? b : a;
        seed_show_random(seed);
        TraceCapture trace;
        EXPECT_EQ(layer->randent(TYPE_SOCK), expected) << "seed " << seed;
        EXPECT_EQ(trace.text(), "MATCH FOUND MATCH FOUND ");
    }
}

TEST_F(SwarmTest, RandomPickWithNothingToFollow)
{
    add_new(scene.actors, 0, WORLD_RADIUS, TYPE_SOCK)->alive = false;
    add_new(scene.actors, 0, WORLD_RADIUS, TYPE_GRASS);
    TraceCapture trace;
    seed_show_random(5);
    EXPECT_EQ(scene.actors->randent(TYPE_SOCK), nullptr);
    EXPECT_EQ(scene.structures->randent(TYPE_TOWER), nullptr);
    EXPECT_EQ(trace.text(), "NO MATCHING ENTITIES TO FOLLOW FFF\nNO MATCHING ENTITIES TO FOLLOW FFF\n");
    seed_show_random(5);
    const int first = show_rand();
    seed_show_random(5);
    scene.actors->randent(TYPE_SOCK);
    EXPECT_EQ(show_rand(), first) << "no draw without candidates";
}

// --- Layer scale ----------------------------------------------------------------------

TEST_F(SwarmTest, ScaleComesFromTheLayerAtTheRoot)
{
    ENTITY* top = add_new(scene.bkg1, 0, WORLD_RADIUS, TYPE_BLOCK);
    ENTITY* child = add_child_of(top, 0, 0, TYPE_BLOCK);
    EXPECT_FLOAT_EQ(scene.bkg1->get_scale(), 0.5f);
    EXPECT_FLOAT_EQ(top->children->get_scale(), 0.5f);
    EXPECT_FLOAT_EQ(child->children->get_scale(), 0.5f);
    scene.bkg1->scale = 0.25f;
    EXPECT_FLOAT_EQ(child->children->get_scale(), 0.25f);
}

}  // namespace
