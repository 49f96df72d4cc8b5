// The set-up of every kind of entity: pictures, sizes, speeds, the order of the random
// draws (replayed here from the same seed), and the children of compound kinds.
#include "entity_testing.h"
#include "host_services.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

constexpr float WORLD_RADIUS = 1500.0f;   // radius the kinds are built at
constexpr float CREATOR_VX = 7.5f;        // a speed no kind that picks its own keeps
constexpr unsigned SEEDS = 8;             // seeds tried per random kind

class KindsTest : public ::testing::Test {
protected:
    TraceSilencer quiet;
    TestScene held;
    SCENE& scene = held.scene;

    // Builds a kind into the actors layer from seed `seed`, with the creator's speed.
    ENTITY* build(int type, unsigned seed, const std::string& text = " ")
    {
        seed_show_random(seed);
        return add_new(scene.actors, 1.0f, WORLD_RADIUS, type, CREATOR_VX, text);
    }
};

// Checks that the generator's next draw is `expected`: the set-up took no more draws than replayed.
void expect_next_draw(int expected, unsigned seed)
{
    EXPECT_EQ(show_rand(), expected) << "draw count differs, seed " << seed;
}

TEST_F(KindsTest, FixedKindsGetTheirPictureAndSize)
{
    const struct {
        int type;
        int sprite;
        float zoom;
        float zoomspeed;
        bool inheritzoom;
    } kinds[] = {
        {TYPE_RESERVED0, SPRITE_BLOCK, 1.0f, 0, false},
        {TYPE_RESERVED5, SPRITE_BLOCK, 1.0f, 0, false},
        {TYPE_STONESPAWNER, SPRITE_BLOCK, 1.0f, 0, false},
        {TYPE_BLOCK, SPRITE_BLOCK, 1.0f, 0, false},
        {TYPE_DOME, SPRITE_DOME, 1.0f, 0, false},
        {TYPE_PIPE, SPRITE_PIPE, 0.1f, 0.005f, false},
        {TYPE_SKYSPAWNER, SPRITE_NONE, 1.0f, 0, false},
        {TYPE_SPECK, SPRITE_NONE, 0.1f, 0.05f, false},
        {TYPE_SKY, SPRITE_SKY0, 10.0f, 0, false},
        {TYPE_TEXTDOT, SPRITE_TEXTDOT, 0.1f, 0.005f, false},
        {TYPE_BOWL, SPRITE_BOWL, 0.5f, 0, false},
        {TYPE_GRASS, SPRITE_GRASS, 1.0f, 0, false},
        {TYPE_GROUNDCORE, SPRITE_GROUND0, 10.0f, 0, false},
        {TYPE_STONE, SPRITE_STONE0, 10.0f, 0, false},
        {TYPE_DOMEFLOOR, SPRITE_DOMEFLOOR, 1.0f, 0, false},
        {TYPE_BOAT, SPRITE_BOWL, 1.0f, 0, true},
        {TYPE_OAR, SPRITE_SPOON, 1.0f, 0, true},
        {26, SPRITE_BLOCK, 1.0f, 0, false},
        {-1, SPRITE_BLOCK, 1.0f, 0, false},
        {1000, SPRITE_BLOCK, 1.0f, 0, false},
    };
    for (const auto& k : kinds) {
        seed_show_random(11);
        const int first = show_rand();
        ENTITY* e = build(k.type, 11);
        EXPECT_EQ(e->sprite, k.sprite) << "type " << k.type;
        EXPECT_FLOAT_EQ(e->zoom, k.zoom) << "type " << k.type;
        EXPECT_FLOAT_EQ(e->zoomspeed, k.zoomspeed) << "type " << k.type;
        EXPECT_EQ(e->inheritzoom, k.inheritzoom) << "type " << k.type;
        EXPECT_FLOAT_EQ(e->vx, CREATOR_VX) << "type " << k.type;
        EXPECT_FLOAT_EQ(e->vy, 0.0f) << "type " << k.type;
        EXPECT_FLOAT_EQ(e->limit, 0.0f) << "type " << k.type;
        EXPECT_EQ(e->mode, STATE_IDLE) << "type " << k.type;
        EXPECT_TRUE(e->children->entities.empty()) << "type " << k.type;
        EXPECT_EQ(e->children->owner, e);
        expect_next_draw(first, 11);
    }
}

TEST_F(KindsTest, PeakZoomsOfSpecksAndDots)
{
    EXPECT_FLOAT_EQ(build(TYPE_SPECK, 1)->timer, 1.0f);
    EXPECT_FLOAT_EQ(build(TYPE_TEXTDOT, 1)->timer, 0.3f);
}

TEST_F(KindsTest, NewPipeTracesWhereItStands)
{
    ENTITY* tower = add_new(scene.structures, 0.5f, 2000.0f, TYPE_TOWER);
    ENTITY* pipe;
    {
        TraceCapture trace;
        pipe = new ENTITY(tower->children, tower, 0, -400.0f, TYPE_PIPE, 0, 0, 0, " ", STATE_IDLE);
        EXPECT_EQ(trace.text(), "NEW PIPE x 0.5 y 1600\n");
    }
    tower->children->add_entity(pipe);
}

TEST_F(KindsTest, CloudDrawsPictureSpeedDirectionAndLife)
{
    for (unsigned seed = 1; seed <= SEEDS; ++seed) {
        seed_show_random(seed);
        const int sprite = SPRITE_CLOUD0 + show_rand() % 2;
        const int speed = show_rand() % 3 + 1;
        const bool left = show_rand() & 1;
        const int life = show_rand() % 1500 + 1000;
        const int after = show_rand();
        ENTITY* cloud = build(TYPE_CLOUD, seed);
        EXPECT_EQ(cloud->sprite, sprite);
        EXPECT_FLOAT_EQ(cloud->vx, left ? -speed : speed);
        EXPECT_FLOAT_EQ(cloud->timer, life);
        EXPECT_FLOAT_EQ(cloud->zoom, 0.1f);
        EXPECT_FLOAT_EQ(cloud->zoomspeed, 0.01f);
        expect_next_draw(after, seed);
    }
}

TEST_F(KindsTest, TowerDrawsItsSegmentCount)
{
    for (unsigned seed = 1; seed <= SEEDS; ++seed) {
        seed_show_random(seed);
        const int segments = show_rand() % 10 + 10;
        const int after = show_rand();
        ENTITY* tower = build(TYPE_TOWER, seed);
        EXPECT_FLOAT_EQ(tower->limit, segments);
        EXPECT_EQ(tower->sprite, SPRITE_DOME);
        EXPECT_FLOAT_EQ(tower->zoom, 0.1f);
        EXPECT_FLOAT_EQ(tower->zoomspeed, 0.1f);
        EXPECT_FLOAT_EQ(tower->vy, 2.5f);
        expect_next_draw(after, seed);
    }
}

TEST_F(KindsTest, ShrubDrawsOneOfThreePictures)
{
    for (unsigned seed = 1; seed <= SEEDS; ++seed) {
        seed_show_random(seed);
        const int sprite = SPRITE_SHRUB0 + show_rand() % 3;
        const int after = show_rand();
        EXPECT_EQ(build(TYPE_SHRUB, seed)->sprite, sprite);
        expect_next_draw(after, seed);
    }
}

TEST_F(KindsTest, SockStartsWalking)
{
    for (unsigned seed = 1; seed <= SEEDS; ++seed) {
        seed_show_random(seed);
        const int speed = show_rand() % 3 + 1;
        const bool left = show_rand() & 1;
        const int after = show_rand();
        TraceCapture trace;
        ENTITY* sock = build(TYPE_SOCK, seed);
        EXPECT_EQ(trace.text().rfind("SOCK INIT", 0), 0u);
        EXPECT_EQ(sock->mode, STATE_WALK);
        EXPECT_EQ(sock->sprite, SPRITE_SOCKWALK);
        EXPECT_FLOAT_EQ(sock->timer, 0.0f);
        EXPECT_FLOAT_EQ(sock->vx, left ? -speed : speed);
        EXPECT_EQ(sock->facing, left ? 0 : 1);
        expect_next_draw(after, seed);
    }
}

TEST_F(KindsTest, SockBuiltBeforeTheStartTurnsRight)
{
    seed_show_random(seed_where([] {
        show_rand();
        return show_rand() & 1;   // would head left
    }));
    ENTITY* sock = add_new(scene.actors, -0.2f, WORLD_RADIUS, TYPE_SOCK);
    EXPECT_EQ(sock->facing, 1);
    EXPECT_GT(sock->vx, 0.0f);
}

TEST_F(KindsTest, CerealDrawsItsFlightInOrder)
{
    for (unsigned seed = 1; seed <= SEEDS; ++seed) {
        seed_show_random(seed);
        const int sprite = SPRITE_CEREAL0 + show_rand() % 9;
        const int vy = show_rand() % 10 + 10;
        const float vx = (show_rand() % 10) / 10.0f + 1;
        const int spin = show_rand() % 10 + 5;
        const bool vx_negative = show_rand() & 1;
        const bool spin_negative = show_rand() & 1;
        const int angle = show_rand() % 360;
        const int after = show_rand();
        ENTITY* cereal = build(TYPE_CEREAL, seed);
        EXPECT_EQ(cereal->sprite, sprite);
        EXPECT_FLOAT_EQ(cereal->vy, vy);
        EXPECT_FLOAT_EQ(cereal->vx, vx_negative ? -vx : vx);
        EXPECT_FLOAT_EQ(cereal->spin, spin_negative ? -spin : spin);
        EXPECT_FLOAT_EQ(cereal->angle, angle);
        EXPECT_FLOAT_EQ(cereal->ay, -0.1f);
        EXPECT_FLOAT_EQ(cereal->zoom, 0.3f);
        expect_next_draw(after, seed);
    }
}

TEST_F(KindsTest, FridgeFacesByACoin)
{
    for (unsigned seed = 1; seed <= SEEDS; ++seed) {
        seed_show_random(seed);
        const int facing = show_rand() & 1;
        const int after = show_rand();
        ENTITY* fridge = build(TYPE_FRIDGE, seed);
        EXPECT_EQ(fridge->facing, facing);
        EXPECT_EQ(fridge->sprite, SPRITE_FRIDGE_CLOSED);
        expect_next_draw(after, seed);
    }
}

TEST_F(KindsTest, TextFrameStartsIdleWithoutPicture)
{
    ENTITY* frame = new ENTITY(scene.actors, nullptr, 1.0f, WORLD_RADIUS, TYPE_TEXTFRAME, 2.0f, 0, 9, "Hi", STATE_WALK);
    scene.actors->add_entity(frame);
    EXPECT_EQ(frame->mode, STATE_IDLE);
    EXPECT_FLOAT_EQ(frame->vx, 2.0f);   // no walking entry action ran
    EXPECT_FLOAT_EQ(frame->timer, 0.0f);
    EXPECT_EQ(frame->textrow, 0);
    EXPECT_EQ(frame->sprite, SPRITE_NONE);
    EXPECT_FLOAT_EQ(frame->limit, 30.0f);
    EXPECT_TRUE(frame->children->entities.empty());
}

TEST_F(KindsTest, TableCarriesItsBowl)
{
    ENTITY* table = build(TYPE_TABLE, 1);
    EXPECT_EQ(table->sprite, SPRITE_TABLE);
    ASSERT_EQ(table->children->entities.size(), 1u);
    ENTITY* bowl = table->children->entities.front();
    EXPECT_EQ(bowl->type, TYPE_BOWL);
    EXPECT_EQ(bowl->parent, table);
    EXPECT_EQ(bowl->swarm, table->children);
    EXPECT_FLOAT_EQ(bowl->x, 0.0f);
    EXPECT_FLOAT_EQ(bowl->y, 130.0f);
    EXPECT_EQ(bowl->text, " ");
}

// --- Sky boats -------------------------------------------------------------------------

// Builds a sky boat at (1, WORLD_RADIUS) with the creator's speed `vx` and name `text`.
ENTITY* skyboat(SCENE& scene, float vx, const std::string& text)
{
    return add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_SKYBOAT, vx, text);
}

TEST_F(KindsTest, SkyBoatRowsAHullAndAnOar)
{
    TraceCapture trace;
    ENTITY* boat = skyboat(scene, 2.0f, " ");
    EXPECT_EQ(trace.text().rfind("SKYBOAT (1,1500) ", 0), 0u);
    EXPECT_EQ(boat->sprite, SPRITE_SOCKWALK);
    EXPECT_FLOAT_EQ(boat->zoom, 0.05f);
    EXPECT_FLOAT_EQ(boat->zoomspeed, 0.01f);
    EXPECT_FLOAT_EQ(boat->timer, 0.0f);
    EXPECT_FLOAT_EQ(boat->limit, 200.0f);
    EXPECT_EQ(boat->facing, 1);
    ASSERT_EQ(boat->children->entities.size(), 2u) << "no name, no label";
    const int types[] = {TYPE_BOAT, TYPE_OAR};
    int i = 0;
    for (ENTITY* part : boat->children->entities) {
        EXPECT_EQ(part->type, types[i++]);
        EXPECT_FLOAT_EQ(part->x, 0.0f);
        EXPECT_FLOAT_EQ(part->y, -80.0f);
        EXPECT_EQ(part->parent, boat);
    }
}

TEST_F(KindsTest, SkyBoatLabelIsShiftedOnlyWhenFacingRight)
{
    const struct {
        float vx;
        const char* name;
        int facing;
        float label_x;
    } cases[] = {
        {2.0f, "Ann", 1, -(3 * 128.0f) / WORLD_RADIUS},
        {2.0f, "", 1, 0.0f},      // an empty name still gets a label
        {0.0f, "Ann", 0, 0.0f},
        {-2.0f, "Bobby", 0, 0.0f},
    };
    for (const auto& c : cases) {
        ENTITY* boat = skyboat(scene, c.vx, c.name);
        EXPECT_EQ(boat->facing, c.facing);
        ASSERT_EQ(boat->children->entities.size(), 3u) << "name '" << c.name << "'";
        ENTITY* label = boat->children->entities.back();
        EXPECT_EQ(label->type, TYPE_TEXTFRAME);
        EXPECT_EQ(label->text, c.name);
        EXPECT_FLOAT_EQ(label->x, c.label_x) << "name '" << c.name << "' vx " << c.vx;
        EXPECT_FLOAT_EQ(label->y, -120.0f);
        EXPECT_FALSE(label->inheritzoom);
    }
}

}  // namespace
