// The entity record: construction, position and zoom through owners, descendants,
// mode entry actions and the stop of a tree without a scene.
#include "entity_testing.h"
#include "host_services.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

constexpr float WORLD_RADIUS = 1500.0f;   // a radius where every kind behaves as in the show

// A scene of its own with empty layers, as the root of the tree under test.
class EntityTest : public ::testing::Test {
protected:
    TraceSilencer quiet;
    TestScene held;
    SCENE& scene = held.scene;
};

TEST_F(EntityTest, ConstructorStoresItsArgumentsAndStartsFromRest)
{
    ENTITY* e = new ENTITY(scene.actors, nullptr, 0.25f, 900.0f, TYPE_BLOCK, 1.5f, -2.0f, 7, "label", STATE_LIFT);
    scene.actors->add_entity(e);
    EXPECT_EQ(e->swarm, scene.actors);
    EXPECT_EQ(e->parent, nullptr);
    EXPECT_FLOAT_EQ(e->x, 0.25f);
    EXPECT_FLOAT_EQ(e->y, 900.0f);
    EXPECT_FLOAT_EQ(e->vx, 1.5f);
    EXPECT_FLOAT_EQ(e->vy, -2.0f);
    EXPECT_FLOAT_EQ(e->limit, 7.0f);
    EXPECT_EQ(e->text, "label");
    // The mode is stored as given, without the lift's entry actions.
    EXPECT_EQ(e->mode, STATE_LIFT);
    EXPECT_FLOAT_EQ(e->zoomspeed, 0.0f);
    EXPECT_FLOAT_EQ(e->zoom, 1.0f);
    EXPECT_TRUE(e->is_alive());
    EXPECT_TRUE(e->visible);
    EXPECT_FALSE(e->inheritzoom);
    EXPECT_EQ(e->facing, 0);
    EXPECT_EQ(e->frametime, 0);
    EXPECT_EQ(e->textrow, 0);
    EXPECT_FLOAT_EQ(e->ax, 0.0f);
    EXPECT_FLOAT_EQ(e->ay, 0.0f);
    EXPECT_FLOAT_EQ(e->angle, 0.0f);
    EXPECT_FLOAT_EQ(e->spin, 0.0f);
    ASSERT_NE(e->children, nullptr);
    EXPECT_EQ(e->children->owner, e);
    EXPECT_EQ(e->children->scene, nullptr);
}

// --- Composition through owners ---------------------------------------------

TEST_F(EntityTest, EntityInASceneLayerIsWhereItStands)
{
    ENTITY* e = add_new(scene.bkg1, 0.7f, 1234.0f, TYPE_BLOCK);
    e->zoom = 2.5f;
    e->inheritzoom = true;
    EXPECT_FLOAT_EQ(e->absx(), 0.7f);
    EXPECT_FLOAT_EQ(e->absy(), 1234.0f);
    EXPECT_FLOAT_EQ(e->abszoom(), 2.5f);
}

TEST_F(EntityTest, PositionAddsUpThroughTwoOwners)
{
    ENTITY* top = add_new(scene.actors, 1.0f, 1000.0f, TYPE_BLOCK);
    ENTITY* child = add_child_of(top, 0.25f, -80.0f, TYPE_BLOCK);
    ENTITY* grandchild = add_child_of(child, -0.5f, -120.0f, TYPE_BLOCK);
    EXPECT_FLOAT_EQ(child->absx(), 1.25f);
    EXPECT_FLOAT_EQ(child->absy(), 920.0f);
    EXPECT_FLOAT_EQ(grandchild->absx(), 0.75f);
    EXPECT_FLOAT_EQ(grandchild->absy(), 800.0f);
}

TEST_F(EntityTest, PositionFollowsTheOwningSwarmNotTheParentField)
{
    ENTITY* top = add_new(scene.actors, 1.0f, 1000.0f, TYPE_BLOCK);
    ENTITY* stranger = add_new(scene.actors, 3.0f, 3000.0f, TYPE_BLOCK);
    ENTITY* child = new ENTITY(top->children, stranger, 0.5f, 10.0f, TYPE_BLOCK, 0, 0, 0, " ", STATE_IDLE);
    top->children->add_entity(child);
    EXPECT_FLOAT_EQ(child->absx(), 1.5f);
    EXPECT_FLOAT_EQ(child->absy(), 1010.0f);
}

TEST_F(EntityTest, ZoomComposesOnlyWhereTheChildInherits)
{
    ENTITY* top = add_new(scene.actors, 0, WORLD_RADIUS, TYPE_BLOCK);
    top->zoom = 0.5f;
    ENTITY* child = add_child_of(top, 0, 0, TYPE_BLOCK);
    child->zoom = 3.0f;
    ENTITY* grandchild = add_child_of(child, 0, 0, TYPE_BLOCK);
    grandchild->zoom = 4.0f;

    EXPECT_FLOAT_EQ(child->abszoom(), 3.0f);        // keeps its own zoom
    EXPECT_FLOAT_EQ(grandchild->abszoom(), 4.0f);

    grandchild->inheritzoom = true;                   // one level: the owner's own zoom
    EXPECT_FLOAT_EQ(grandchild->abszoom(), 12.0f);

    child->inheritzoom = true;                        // two levels: through the owner's owner
    EXPECT_FLOAT_EQ(child->abszoom(), 1.5f);
    EXPECT_FLOAT_EQ(grandchild->abszoom(), 6.0f);

    grandchild->inheritzoom = false;
    EXPECT_FLOAT_EQ(grandchild->abszoom(), 4.0f);
}

// --- Descendants -------------------------------------------------------------

TEST_F(EntityTest, NchildrenCountsEveryDescendantButNotItself)
{
    ENTITY* lone = add_new(scene.actors, 0, WORLD_RADIUS, TYPE_BLOCK);
    EXPECT_EQ(lone->nchildren(), 0);

    ENTITY* tower = add_new(scene.structures, 0, WORLD_RADIUS, TYPE_TOWER);
    ENTITY* below = tower;
    for (int i = 0; i < 5; ++i)
        below = add_child_of(below, 0, -250.0f, TYPE_PIPE);
    EXPECT_EQ(tower->nchildren(), 5);
    EXPECT_EQ(tower->children->entities.front()->nchildren(), 4);

    add_child_of(tower, 0.1f, 0, TYPE_BLOCK);   // a second branch counts as well
    EXPECT_EQ(tower->nchildren(), 6);

    ENTITY* table = add_new(scene.structures, 0, WORLD_RADIUS, TYPE_TABLE);
    EXPECT_EQ(table->nchildren(), 1);
}

// --- Mode entry actions --------------------------------------------------------

// A sock standing at angle `where`, with the generator seeded so that the yell's
// sound draw gives `odd`.
class YellTest : public EntityTest {
protected:
    SoundProbe probe;

    ENTITY* sock_at(float where)
    {
        ENTITY* sock = add_new(scene.actors, where, WORLD_RADIUS, TYPE_SOCK);
        sock->vx = 2.0f;
        probe.silence_all();
        return sock;
    }
};

TEST_F(YellTest, SockStopsAndShowsItsFirstYellPicture)
{
    scene.camangle = 0.0f;
    ENTITY* sock = sock_at(-1.0f);   // out of earshot, so no draw is taken for a sound
    sock->frametime = 7;
    sock->timer = 50;
    sock->setmode(STATE_YELL);
    EXPECT_EQ(sock->mode, STATE_YELL);
    EXPECT_FLOAT_EQ(sock->limit, 200.0f);
    EXPECT_EQ(sock->frametime, 0);
    EXPECT_FLOAT_EQ(sock->timer, 0.0f);
    EXPECT_EQ(sock->sprite, SPRITE_SOCKYELL0);
    EXPECT_FLOAT_EQ(sock->vx, 0.0f);
    EXPECT_TRUE(probe.playing().empty());
}

TEST_F(YellTest, OddDrawYellsSoundZeroAndEvenSoundOne)
{
    ASSERT_TRUE(probe.ready());
    scene.camangle = 0.5f;
    for (int odd = 0; odd < 2; ++odd) {
        ENTITY* sock = sock_at(1.0f);
        seed_show_random(seed_where([&] { return (show_rand() & 1) == odd; }));
        sock->setmode(STATE_YELL);
        EXPECT_EQ(probe.playing(), std::vector<int>{odd ? SOUND_FUTURE : SOUND_AUAUAU});
    }
}

TEST_F(YellTest, OnlyTheStrictHalfTurnAfterTheCameraHearsTheYell)
{
    ASSERT_TRUE(probe.ready());
    scene.camangle = 0.0f;
    const float first_float_past_end = static_cast<float>(HALF_TURN);   // rounds up past the half turn
    ASSERT_GT(static_cast<double>(first_float_past_end), HALF_TURN);
    const float last_float_before_end = std::nextafter(first_float_past_end, 0.0f);
    const struct {
        float where;
        bool heard;
    } cases[] = {
        {0.0f, false},                                   // exactly at the camera
        {std::nextafter(0.0f, 1.0f), true},
        {1.5f, true},
        {last_float_before_end, true},
        {first_float_past_end, false},
        {-0.5f, false},
        {4.0f, false},
    };
    for (const auto& c : cases) {
        ENTITY* sock = sock_at(c.where);
        sock->setmode(STATE_YELL);
        EXPECT_EQ(probe.playing().size(), c.heard ? 1u : 0u) << "sock at " << c.where;
        EXPECT_EQ(sock->sprite, SPRITE_SOCKYELL0);
    }
}

TEST_F(YellTest, FridgeOpensWithSoundTwoAndOtherKindsOnlyStoreTheMode)
{
    ASSERT_TRUE(probe.ready());
    ENTITY* fridge = add_new(scene.structures, 1.0f, WORLD_RADIUS, TYPE_FRIDGE);
    fridge->timer = 33;
    fridge->setmode(STATE_YELL);
    EXPECT_EQ(fridge->sprite, SPRITE_FRIDGE_OPEN);
    EXPECT_FLOAT_EQ(fridge->timer, 0.0f);
    EXPECT_FLOAT_EQ(fridge->limit, 100.0f);
    EXPECT_EQ(probe.playing(), std::vector<int>{SOUND_VLERVELER});

    probe.silence_all();
    ENTITY* cloud = add_new(scene.bkg2, 1.0f, WORLD_RADIUS, TYPE_CLOUD);
    const float vx = cloud->vx;
    const int sprite = cloud->sprite;
    cloud->setmode(STATE_YELL);
    EXPECT_EQ(cloud->mode, STATE_YELL);
    EXPECT_FLOAT_EQ(cloud->vx, vx);
    EXPECT_EQ(cloud->sprite, sprite);
    EXPECT_TRUE(probe.playing().empty());
}

TEST_F(YellTest, CallStopsAnyKindAndPlaysSoundTwo)
{
    ASSERT_TRUE(probe.ready());
    for (int type : {int{TYPE_SOCK}, int{TYPE_BLOCK}, int{TYPE_CLOUD}, int{TYPE_RESERVED0}, int{TYPE_TABLE}, 99}) {
        ENTITY* e = add_new(scene.actors, 1.0f, WORLD_RADIUS, type);
        e->vx = 3.0f;
        e->timer = 12.0f;
        probe.silence_all();
        e->setmode(STATE_CALL);
        EXPECT_EQ(e->mode, STATE_CALL);
        EXPECT_FLOAT_EQ(e->vx, 0.0f) << "type " << type;
        EXPECT_FLOAT_EQ(e->timer, 0.0f) << "type " << type;
        EXPECT_EQ(probe.playing(), std::vector<int>{SOUND_VLERVELER}) << "type " << type;
    }
}

TEST_F(EntityTest, LiftRaisesAndShrinksOnlyASock)
{
    ENTITY* sock = add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_SOCK);
    sock->setmode(STATE_LIFT);
    EXPECT_FLOAT_EQ(sock->zoomspeed, -0.02f);
    EXPECT_FLOAT_EQ(sock->vy, 5.0f);
    EXPECT_FLOAT_EQ(sock->vx, 0.0f);

    ENTITY* block = add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_BLOCK);
    block->vx = 2.0f;
    block->setmode(STATE_LIFT);
    EXPECT_EQ(block->mode, STATE_LIFT);
    EXPECT_FLOAT_EQ(block->zoomspeed, 0.0f);
    EXPECT_FLOAT_EQ(block->vy, 0.0f);
    EXPECT_FLOAT_EQ(block->vx, 2.0f);
}

TEST_F(EntityTest, WalkDrawsSpeedThenDirection)
{
    ENTITY* e = add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_BLOCK);
    for (unsigned seed = 1; seed <= 12; ++seed) {
        seed_show_random(seed);
        const int speed = show_rand() % 3 + 1;
        const bool left = show_rand() & 1;
        const int after = show_rand();
        seed_show_random(seed);
        e->timer = 40;
        e->setmode(STATE_WALK);
        EXPECT_FLOAT_EQ(e->vx, left ? -speed : speed) << "seed " << seed;
        EXPECT_EQ(e->facing, left ? 0 : 1);
        EXPECT_FLOAT_EQ(e->timer, 0.0f);
        EXPECT_EQ(show_rand(), after) << "walk takes exactly two draws";
    }
}

// Seeds the generator so that the next walk heads the given way.
void seed_walk_heading_left(bool left)
{
    seed_show_random(seed_where([&] {
        show_rand();
        return static_cast<bool>(show_rand() & 1) == left;
    }));
}

TEST_F(EntityTest, WalkTurnsBackOnlyStrictlyBeyondItsEnds)
{
    // The far end, four half turns, is compared in double: the float nearest to it already lies beyond it.
    constexpr double far_end = 12.5663706;
    const float nearest_to_bound = static_cast<float>(far_end);
    ASSERT_GT(static_cast<double>(nearest_to_bound), far_end);
    const float last_within = std::nextafter(nearest_to_bound, 0.0f);
    const struct {
        float where;
        bool heading_left;
        bool walks_right;
    } cases[] = {
        {0.0f, true, false},           // exactly at the start: keeps going left
        {-0.01f, true, true},          // past it: turns right
        {-0.01f, false, true},
        {last_within, false, true},    // not beyond the far end: keeps going right
        {nearest_to_bound, false, false},   // a hair beyond it: turns left
        {13.0f, false, false},         // past it: turns left
        {13.0f, true, false},
        {6.0f, true, false},
        {6.0f, false, true},
    };
    for (const auto& c : cases) {
        ENTITY* e = add_new(scene.actors, c.where, WORLD_RADIUS, TYPE_BLOCK);
        seed_walk_heading_left(c.heading_left);
        e->setmode(STATE_WALK);
        EXPECT_EQ(e->facing, c.walks_right ? 1 : 0) << "at " << c.where;
        EXPECT_EQ(e->vx > 0, c.walks_right) << "at " << c.where;
        EXPECT_GE(std::fabs(e->vx), 1.0f);
        EXPECT_LE(std::fabs(e->vx), 3.0f);
    }
}

TEST_F(EntityTest, WalkBoundsUseTheAbsolutePosition)
{
    ENTITY* owner = add_new(scene.actors, -1.0f, WORLD_RADIUS, TYPE_BLOCK);
    ENTITY* child = add_child_of(owner, 0.5f, 0, TYPE_BLOCK);   // at -0.5 in the world
    seed_walk_heading_left(true);
    child->setmode(STATE_WALK);
    EXPECT_EQ(child->facing, 1);
    EXPECT_GT(child->vx, 0.0f);
}

TEST_F(EntityTest, IdleAndUnknownModesOnlyStoreTheMode)
{
    ENTITY* sock = add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_SOCK);
    sock->timer = 5;
    const float vx = sock->vx;
    for (int mode : {int{STATE_IDLE}, 5, -1, 42}) {
        TraceCapture trace;
        sock->setmode(mode);
        EXPECT_EQ(sock->mode, mode);
        EXPECT_FLOAT_EQ(sock->vx, vx);
        EXPECT_FLOAT_EQ(sock->timer, 5.0f);
        EXPECT_EQ(trace.text(), "");
    }
}

// --- The scene at the root -------------------------------------------------------

TEST_F(EntityTest, ThesceneWalksUpToTheLayerHoldingTheTree)
{
    ENTITY* top = add_new(scene.core, 0, 0, TYPE_BLOCK);
    ENTITY* deep = add_child_of(add_child_of(top, 0, 0, TYPE_BLOCK), 0, 0, TYPE_BLOCK);
    EXPECT_EQ(top->thescene(), &scene);
    EXPECT_EQ(deep->thescene(), &scene);
}

// Asks for the scene of an entity in a swarm with neither scene nor owner, its trace sent to stderr.
void ask_homeless_for_its_scene(int depth)
{
    send_trace_to(std::cerr.rdbuf());
    ENTITYSWARM* homeless = new ENTITYSWARM(static_cast<ENTITY*>(nullptr), 1.0f);
    ENTITY* e = add_new(homeless, 0, 0, TYPE_BLOCK);
    for (int i = 0; i < depth; ++i)
        e = add_child_of(e, 0, 0, TYPE_BLOCK);
    e->thescene();
}

TEST(EntityDeathTest, TreeWithoutASceneStopsTheProgram)
{
    EXPECT_EXIT(ask_homeless_for_its_scene(0), ::testing::ExitedWithCode(1),
                "THIS ENTITYSWARM IS HOMELESS FFF \n");
    EXPECT_EXIT(ask_homeless_for_its_scene(2), ::testing::ExitedWithCode(1),
                "THIS ENTITYSWARM IS HOMELESS FFF \n");
}

TEST(EntityDeathTest, HomelessSockCannotYell)
{
    EXPECT_EXIT(
        {
            send_trace_to(std::cerr.rdbuf());
            ENTITYSWARM homeless(static_cast<ENTITY*>(nullptr), 1.0f);
            ENTITY* sock = add_new(&homeless, 1.0f, WORLD_RADIUS, TYPE_SOCK);
            sock->setmode(STATE_YELL);
        },
        ::testing::ExitedWithCode(1), "HOMELESS FFF");
}

}  // namespace
