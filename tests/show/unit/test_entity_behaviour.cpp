// What every kind does tick by tick: the motion step, socks, towers and pipes, clouds,
// specks and their spawners, text frames and their dots, bowls, cereal, sky boats, fridges.
#include "entity_testing.h"
#include "host_services.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <cmath>
#include <set>

namespace {

constexpr float WORLD_RADIUS = 1500.0f;   // radius where text dots live and the motion step is plain
constexpr int TEXT_ACTION = 11;           // ticks from one text frame action to the next
constexpr int RELEASE_TICK = 341;         // the 31st action, where row 30 is reached

class BehaviourTest : public ::testing::Test {
protected:
    TraceSilencer quiet;
    TestScene held;
    SCENE& scene = held.scene;

    // Runs `ticks` ticks of one layer.
    static void run(ENTITYSWARM* layer, int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            layer->process();
    }
};

// --- Motion ------------------------------------------------------------------------------

TEST_F(BehaviourTest, MotionUsesTheRadiusBeforeTheStep)
{
    ENTITY* e = add_new(scene.actors, 1.0f, 1000.0f, TYPE_BLOCK);
    e->vx = 10.0f;
    e->vy = 5.0f;
    e->ax = 2.0f;
    e->ay = -1.0f;
    e->zoomspeed = 0.25f;
    e->spin = 0.5f;
    e->process();
    EXPECT_EQ(e->frametime, 1);
    EXPECT_FLOAT_EQ(e->vx, 12.0f);
    EXPECT_FLOAT_EQ(e->vy, 4.0f);
    EXPECT_FLOAT_EQ(e->x, 1.0f + 12.0f / 1000.0f);
    EXPECT_FLOAT_EQ(e->y, 1004.0f);
    EXPECT_FLOAT_EQ(e->zoom, 1.25f);
    EXPECT_FLOAT_EQ(e->angle, 0.5f);
}

TEST_F(BehaviourTest, ArcLengthIsTurnedIntoAngleAtTheAbsoluteRadius)
{
    ENTITY* owner = add_new(scene.actors, 0, 800.0f, TYPE_BLOCK);
    ENTITY* child = add_child_of(owner, 0, 200.0f, TYPE_BLOCK);
    child->vx = 5.0f;
    child->process();
    EXPECT_FLOAT_EQ(child->x, 5.0f / 1000.0f);
}

TEST_F(BehaviourTest, DeadEntitiesStillMove)
{
    ENTITY* e = add_new(scene.actors, 0, 1000.0f, TYPE_BLOCK);
    e->alive = false;
    e->vy = 3.0f;
    e->process();
    EXPECT_FLOAT_EQ(e->y, 1003.0f);
    EXPECT_EQ(e->frametime, 1);
}

TEST_F(BehaviourTest, SpinReversesOnlyWhenTheAngleLandsExactlyOnZero)
{
    ENTITY* e = add_new(scene.actors, 0, 1000.0f, TYPE_BLOCK);
    e->angle = -1.0f;
    e->spin = 0.5f;
    e->process();
    EXPECT_FLOAT_EQ(e->spin, 0.5f);
    e->process();   // lands on 0
    EXPECT_EQ(e->angle, 0.0f);
    EXPECT_FLOAT_EQ(e->spin, -0.5f);

    e->angle = -0.25f;
    e->spin = 0.5f;
    e->process();   // passes over 0
    EXPECT_FLOAT_EQ(e->angle, 0.25f);
    EXPECT_FLOAT_EQ(e->spin, 0.5f);
}

TEST_F(BehaviourTest, GroundCoreAtTheCentreKeepsANumberForItsAngle)
{
    ENTITY* core = add_new(scene.core, 0, 0, TYPE_GROUNDCORE);
    run(scene.core, 50);
    EXPECT_FALSE(std::isnan(core->x));
    EXPECT_FLOAT_EQ(core->x, 0.0f);
}

// --- Socks ------------------------------------------------------------------------------

// A walking sock in the actors layer, turned away from the camera so its yells are silent.
ENTITY* walking_sock(SCENE& scene)
{
    scene.camangle = 0.0f;
    return add_new(scene.actors, -1.0f, WORLD_RADIUS, TYPE_SOCK);
}

TEST_F(BehaviourTest, WalkingSockYellsOnResidueOneOfAThousand)
{
    for (int residue : {0, 1, 2, 999}) {
        ENTITY* sock = walking_sock(scene);
        sock->sprite = SPRITE_DOME;
        seed_next_residue(1000, residue);
        sock->process();
        EXPECT_EQ(sock->mode, residue == 1 ? STATE_YELL : STATE_WALK) << "residue " << residue;
        EXPECT_EQ(sock->sprite, residue == 1 ? SPRITE_SOCKYELL0 : SPRITE_SOCKWALK);
    }
}

TEST_F(BehaviourTest, YellingSockFlipsItsPictureEveryTenTicksThenWalks)
{
    ENTITY* sock = walking_sock(scene);
    sock->setmode(STATE_YELL);
    TraceCapture trace;
    for (int tick = 1; tick < 200; ++tick) {
        sock->process();
        const int expected = ((tick - 1) / 10) % 2 ? SPRITE_SOCKYELL1 : SPRITE_SOCKYELL0;
        ASSERT_EQ(sock->sprite, expected) << "tick " << tick;
        ASSERT_EQ(sock->mode, STATE_YELL) << "tick " << tick;
    }
    EXPECT_NE(trace.text().find("SOCK frametiem 0 oar 0 target 200"), std::string::npos);
    sock->process();   // the 200th tick of the yell
    EXPECT_EQ(sock->mode, STATE_WALK);
    EXPECT_FLOAT_EQ(sock->timer, 0.0f);
    EXPECT_NE(sock->vx, 0.0f);
    seed_next_residue(1000, 0);
    sock->process();
    EXPECT_EQ(sock->sprite, SPRITE_SOCKWALK);
}

TEST_F(BehaviourTest, YellFrameTurnLeavesOtherPicturesAlone)
{
    ENTITY* sock = walking_sock(scene);
    sock->setmode(STATE_YELL);
    sock->sprite = SPRITE_SOCKWALK;
    run(scene.actors, 25);
    EXPECT_EQ(sock->sprite, SPRITE_SOCKWALK);
}

TEST_F(BehaviourTest, CallingSockStandsUntilItsLimit)
{
    ENTITY* sock = walking_sock(scene);
    sock->setmode(STATE_CALL);
    sock->limit = 3;
    for (int tick = 1; tick <= 2; ++tick) {
        sock->process();
        EXPECT_EQ(sock->mode, STATE_CALL);
        EXPECT_EQ(sock->sprite, SPRITE_SOCKYELL1);
        EXPECT_FLOAT_EQ(sock->timer, tick);
        EXPECT_FLOAT_EQ(sock->x, -1.0f);
    }
    sock->process();
    EXPECT_EQ(sock->mode, STATE_WALK);
}

TEST_F(BehaviourTest, CallWithoutALimitEndsAtTheNextTick)
{
    ENTITY* sock = walking_sock(scene);
    sock->setmode(STATE_CALL);
    sock->limit = 0;
    sock->process();
    EXPECT_EQ(sock->mode, STATE_WALK);
}

TEST_F(BehaviourTest, IdleSockWalksOffAtOnceUnlessItsLimitIsAhead)
{
    ENTITY* sock = walking_sock(scene);
    sock->mode = STATE_IDLE;
    sock->limit = 5;
    sock->timer = 0;
    run(scene.actors, 10);
    EXPECT_EQ(sock->mode, STATE_IDLE) << "the timer does not run while idle";
    sock->timer = 5;
    sock->process();
    EXPECT_EQ(sock->mode, STATE_WALK);
}

TEST_F(BehaviourTest, LiftedSockShrinksAwayAndNeverWalksAgain)
{
    ENTITY* sock = walking_sock(scene);
    sock->setmode(STATE_LIFT);
    sock->limit = 0;
    int ticks = 0;
    while (!scene.actors->entities.empty() && ticks < 100) {
        ASSERT_EQ(sock->mode, STATE_LIFT);
        scene.actors->process();
        ++ticks;
    }
    EXPECT_TRUE(scene.actors->entities.empty());
    EXPECT_GE(ticks, 47);   // 1.0 down to 0.05 at 0.02 a tick
    EXPECT_LE(ticks, 49);
}

// --- Towers and pipes ----------------------------------------------------------------------

TEST_F(BehaviourTest, TowerBuildsExactlyItsLimitAndStopsRisingWithTheLast)
{
    for (int segments : {10, 3}) {
        TestScene fresh;
        SCENE& own = fresh.scene;
        ENTITY* tower = add_new(own.structures, 1.0f, 2000.0f, TYPE_TOWER);
        tower->limit = segments;
        int stop_tick = 0;
        int last_count = 0;
        for (int tick = 1; tick <= 150 * segments; ++tick) {
            own.structures->process();
            const int count = tower->nchildren();
            if (count == segments && stop_tick == 0) {
                stop_tick = tick;
                EXPECT_EQ(last_count, segments - 1);
                EXPECT_FLOAT_EQ(tower->vy, 0.0f) << "stops in the tick its last pipe is built";
            }
            if (count < segments) {
                ASSERT_FLOAT_EQ(tower->vy, 2.5f) << "tick " << tick;
            }
            last_count = count;
        }
        ASSERT_NE(stop_tick, 0) << segments << " segments";
        EXPECT_EQ(tower->nchildren(), segments);

        ENTITY* pipe = tower->children->entities.front();
        EXPECT_FLOAT_EQ(pipe->y, -400.0f);
        EXPECT_FLOAT_EQ(pipe->limit, segments - 1);
        for (int depth = 1; depth < segments; ++depth) {
            ASSERT_EQ(pipe->children->entities.size(), 1u);
            pipe = pipe->children->entities.front();
            EXPECT_FLOAT_EQ(pipe->y, -250.0f);
            EXPECT_FLOAT_EQ(pipe->limit, segments - 1 - depth);
        }
        EXPECT_TRUE(pipe->children->entities.empty());
    }
}

TEST_F(BehaviourTest, TowerReportsItsChildrenEveryTick)
{
    add_new(scene.structures, 1.0f, 2000.0f, TYPE_TOWER);
    TraceCapture trace;
    run(scene.structures, 3);
    EXPECT_EQ(count_occurrences(trace.text(), "TOWER CHILDREN: 0\n"), 3);
}

TEST_F(BehaviourTest, PipeWithNothingLeftStopsAtFullSizeAndBuildsNothing)
{
    ENTITY* pipe = add_new(scene.structures, 1.0f, 2000.0f, TYPE_PIPE);
    run(scene.structures, 200);
    EXPECT_FLOAT_EQ(pipe->zoomspeed, 0.0f);
    EXPECT_GE(pipe->zoom, 0.6f);
    EXPECT_LT(pipe->zoom, 0.6f + 0.005f);
    EXPECT_TRUE(pipe->children->entities.empty());
}

// --- Clouds and specks ---------------------------------------------------------------------

TEST_F(BehaviourTest, CloudGrowsDriftsAndShrinksAwayAfterItsLife)
{
    ENTITY* cloud = add_new(scene.bkg2, 1.0f, WORLD_RADIUS, TYPE_CLOUD);
    cloud->timer = 150;
    {
        TraceCapture trace;
        cloud->process();
        EXPECT_EQ(trace.text(), "OAR 149ZOOM 0.1\n");
    }
    run(scene.bkg2, 140);
    EXPECT_FLOAT_EQ(cloud->zoom, 1.0f);
    EXPECT_FLOAT_EQ(cloud->zoomspeed, 0.0f);
    int ticks = 0;
    while (!scene.bkg2->entities.empty() && ticks < 500) {
        scene.bkg2->process();
        ++ticks;
    }
    EXPECT_TRUE(scene.bkg2->entities.empty());
    EXPECT_GE(ticks, 100);   // 9 more ticks of life, then 1.0 down by 0.01
    EXPECT_LE(ticks, 111);
}

TEST_F(BehaviourTest, SpeckRisesToItsPeakAndFades)
{
    ENTITY* speck = add_new(scene.core, 1.0f, 500.0f, TYPE_SPECK);
    float peak = 0;
    int ticks = 0;
    while (!scene.core->entities.empty() && ticks < 100) {
        peak = std::max(peak, speck->zoom);
        scene.core->process();
        ++ticks;
    }
    EXPECT_TRUE(scene.core->entities.empty());
    EXPECT_NEAR(peak, 1.0f, 0.051f);
    EXPECT_GE(ticks, 36);
    EXPECT_LE(ticks, 40);
}

TEST_F(BehaviourTest, GroundCoreAddsASpeckOnlyOnResidueOne)
{
    for (int residue : {0, 1, 2}) {
        TestScene fresh;
        SCENE& own = fresh.scene;
        add_new(own.core, 0, 0, TYPE_GROUNDCORE);
        seed_next_residue(3, residue);
        own.core->process();
        EXPECT_EQ(own.core->entities.size(), residue == 1 ? 2u : 1u) << "residue " << residue;
    }
}

TEST_F(BehaviourTest, GroundCoreSpecksStandOnTwentiethsOfATurnAroundIt)
{
    for (int mode : {STATE_IDLE, STATE_WALK}) {
        TestScene fresh;
        SCENE& own = fresh.scene;
        ENTITY* core = add_new(own.core, 0, 0, TYPE_GROUNDCORE);
        core->mode = mode;
        const unsigned seed = seed_where([] { return show_rand() % 3 == 1; });
        seed_show_random(seed);
        show_rand();
        const int r = show_rand() % 70 + 28;
        const int k = show_rand() % 100;
        const int shade = show_rand() % 3;
        seed_show_random(seed);
        TraceCapture trace;
        core->process();
        ASSERT_EQ(own.core->entities.size(), 2u);
        ENTITY* speck = own.core->entities.back();
        EXPECT_EQ(speck->type, TYPE_SPECK);
        EXPECT_EQ(speck->parent, nullptr);
        EXPECT_FLOAT_EQ(speck->y, 10.0f * r);
        EXPECT_FLOAT_EQ(speck->x, static_cast<float>(k * 6.2831855 / 20));
        EXPECT_EQ(speck->sprite, (mode == STATE_IDLE ? SPRITE_GROUND0 : SPRITE_SKY0) + shade);
        std::ostringstream expected;
        expected << "GROUNDCORENEW: y " << 10.0f * r << " x " << static_cast<float>(k * 6.2831855 / 20) << "ADD (";
        EXPECT_EQ(trace.text().rfind(expected.str(), 0), 0u) << trace.text();
    }
}

TEST_F(BehaviourTest, SpawnerAddsOnlyOnResidueOne)
{
    for (int residue : {0, 1, 2}) {
        TestScene fresh;
        SCENE& own = fresh.scene;
        add_new(own.backdrop, 0, 0, TYPE_SKYSPAWNER);
        seed_next_residue(3, residue);
        own.backdrop->process();
        EXPECT_EQ(own.backdrop->entities.size(), residue == 1 ? 2u : 1u) << "residue " << residue;
    }
}

// --- Text frames and dots -------------------------------------------------------------------

// A text frame writing `text` at WORLD_RADIUS in the actors layer.
ENTITY* text_frame(SCENE& scene, const std::string& text)
{
    return add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_TEXTFRAME, 0, text);
}

// The dots of `frame` that stand in dot row `row`.
int dots_in_row(ENTITY* frame, int row)
{
    int count = 0;
    for (ENTITY* dot : frame->children->entities)
        count += dot->y == -14.0f * row;
    return count;
}

TEST_F(BehaviourTest, TextFrameWritesOneRowPerActionThenWaits)
{
    FontSwap font(solid_glyphs(CHARMAP_LENGTH));
    ENTITY* frame = text_frame(scene, "AB");
    {
        TraceCapture trace;
        frame->process();
        EXPECT_EQ(trace.text(), "TEXT FRAME 0 ");
    }
    run(scene.actors, TEXT_ACTION - 2);
    EXPECT_TRUE(frame->children->entities.empty()) << "the first action is the 11th tick";
    for (int row = 0; row < 5; ++row) {
        run(scene.actors, 1);
        EXPECT_EQ(dots_in_row(frame, row), 10) << "row " << row;
        EXPECT_EQ(frame->children->entities.size(), 10u * (row + 1));
        run(scene.actors, TEXT_ACTION - 1);
    }
    run(scene.actors, TEXT_ACTION * 3);
    EXPECT_EQ(frame->children->entities.size(), 50u) << "25 dots a character at most";
    EXPECT_EQ(frame->textrow, 8);
}

TEST_F(BehaviourTest, TextDotsStandOnTheCharacterGrid)
{
    std::vector<DOTCHAR> glyphs(CHARMAP_LENGTH);
    glyphs[cloudfont.findchar('B')].dots[3][0] = true;
    FontSwap font(glyphs);
    ENTITY* frame = text_frame(scene, "B|B");   // the bar is no character of the font: a gap
    run(scene.actors, TEXT_ACTION);
    ASSERT_EQ(frame->children->entities.size(), 2u);
    const float s = 16.0f / WORLD_RADIUS;
    EXPECT_FLOAT_EQ(frame->children->entities.front()->x, s * 3);
    EXPECT_FLOAT_EQ(frame->children->entities.back()->x, s * 3 + s * 6 * 2);
    for (ENTITY* dot : frame->children->entities) {
        EXPECT_EQ(dot->type, TYPE_TEXTDOT);
        EXPECT_EQ(dot->parent, frame);
        EXPECT_FLOAT_EQ(dot->y, 0.0f);
    }
}

TEST_F(BehaviourTest, TextFrameSkipsGlyphsTheFontDoesNotHold)
{
    FontSwap font(solid_glyphs(10));   // 'A' to 'J' only
    ENTITY* frame = text_frame(scene, "AZ");
    run(scene.actors, TEXT_ACTION);
    EXPECT_EQ(frame->children->entities.size(), 5u);
}

TEST_F(BehaviourTest, TextFrameReleasesAtRowThirtyAndGoesWhenEmpty)
{
    FontSwap font(solid_glyphs(CHARMAP_LENGTH));
    ENTITY* frame = text_frame(scene, "A");
    run(scene.actors, RELEASE_TICK - 1);
    ASSERT_EQ(frame->children->entities.size(), 25u);
    for (ENTITY* dot : frame->children->entities)
        EXPECT_FLOAT_EQ(dot->ay, 0.0f);
    for (ENTITY* dot : frame->children->entities)
        dot->vx = 1.0f;

    run(scene.actors, 1);
    EXPECT_EQ(frame->textrow, 31);
    for (ENTITY* dot : frame->children->entities) {
        EXPECT_GE(dot->ay, 0.002f);
        EXPECT_LE(dot->ay, 0.0201f);
        EXPECT_FLOAT_EQ(dot->vx, 0.0f);
    }

    int tick = RELEASE_TICK;
    int emptied = 0;
    while (!scene.actors->entities.empty() && tick < 2000) {
        if (emptied == 0 && frame->children->entities.empty())
            emptied = tick;
        scene.actors->process();
        ++tick;
    }
    ASSERT_TRUE(scene.actors->entities.empty()) << "the frame goes once its dots are gone";
    EXPECT_EQ(tick % TEXT_ACTION, 0) << "and only at one of its actions";
    if (emptied != 0) {
        EXPECT_LE(tick - emptied, TEXT_ACTION);
    }
}

TEST_F(BehaviourTest, WalkingTextFrameKeepsItsDots)
{
    FontSwap font(solid_glyphs(CHARMAP_LENGTH));
    ENTITY* frame = text_frame(scene, "A");
    frame->mode = STATE_WALK;
    run(scene.actors, 600);
    ASSERT_EQ(scene.actors->entities.size(), 1u);
    EXPECT_EQ(frame->children->entities.size(), 25u);
    for (ENTITY* dot : frame->children->entities)
        EXPECT_FLOAT_EQ(dot->ay, 0.0f);
}

TEST_F(BehaviourTest, TextFrameWithoutWritableCharactersGoesAfterRowThirty)
{
    for (bool font_loaded : {true, false}) {
        FontSwap font(font_loaded ? solid_glyphs(CHARMAP_LENGTH) : std::vector<DOTCHAR>{});
        TestScene fresh;
        SCENE& own = fresh.scene;
        ENTITY* frame = text_frame(own, font_loaded ? "|`" : "AB");
        run(own.actors, RELEASE_TICK);
        ASSERT_EQ(own.actors->entities.size(), 1u);
        EXPECT_TRUE(frame->children->entities.empty());
        run(own.actors, TEXT_ACTION - 1);
        EXPECT_EQ(own.actors->entities.size(), 1u);
        run(own.actors, 1);   // the 32nd action
        EXPECT_TRUE(own.actors->entities.empty()) << "font loaded " << font_loaded;
    }
}

TEST_F(BehaviourTest, HeldTextDotPulsesBetweenItsBounds)
{
    ENTITY* dot = add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_TEXTDOT);
    float low = 1, high = 0;
    for (int tick = 0; tick < 300; ++tick) {
        scene.actors->process();
        low = std::min(low, dot->zoom);
        high = std::max(high, dot->zoom);
    }
    EXPECT_NEAR(high, 0.3f, 0.006f);
    EXPECT_NEAR(low, 0.09f, 0.006f);
}

TEST_F(BehaviourTest, ReleasedTextDotShrinksThroughTheLowBoundAndGoes)
{
    ENTITY* dot = add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_TEXTDOT);
    dot->ay = 0.002f;
    float previous = dot->zoom;
    bool shrinking = false;
    int ticks = 0;
    while (!scene.actors->entities.empty() && ticks < 500) {
        previous = dot->zoom;
        scene.actors->process();
        ++ticks;
        if (scene.actors->entities.empty())
            break;
        if (shrinking) {
            ASSERT_LT(dot->zoom, previous) << "no bounce once released, tick " << ticks;
        }
        shrinking = shrinking || dot->zoom < previous;
    }
    EXPECT_TRUE(scene.actors->entities.empty());
    EXPECT_TRUE(shrinking);
    EXPECT_LT(previous, 0.01f);
}

TEST_F(BehaviourTest, TextDotBelowRadiusThousandGoesAtOnce)
{
    add_new(scene.actors, 1.0f, 999.0f, TYPE_TEXTDOT);
    add_new(scene.actors, 1.0f, 1000.0f, TYPE_TEXTDOT);
    scene.actors->process();
    ASSERT_EQ(scene.actors->entities.size(), 1u);
    EXPECT_FLOAT_EQ(scene.actors->entities.front()->y, 1000.0f);
}

// --- Kitchen and sky ------------------------------------------------------------------------

TEST_F(BehaviourTest, BowlThrowsCerealFromItsTableOnTenResiduesInThreeHundred)
{
    for (int residue : {0, 9, 10, 299}) {
        TestScene fresh;
        SCENE& own = fresh.scene;
        ENTITY* table = add_new(own.structures, 1.0f, 1000.0f, TYPE_TABLE);
        seed_next_residue(300, residue);
        table->process();
        const auto& beside = table->children->entities;
        ASSERT_EQ(beside.size(), residue <= 9 ? 2u : 1u) << "residue " << residue;
        if (residue > 9)
            continue;
        ENTITY* cereal = beside.back();
        EXPECT_EQ(cereal->type, TYPE_CEREAL);
        EXPECT_EQ(cereal->parent, nullptr);
        EXPECT_EQ(cereal->frametime, 1) << "thrown and moved in the same tick";
    }
}

TEST_F(BehaviourTest, CerealReportsItsFlightAndFallsIntoThePlanet)
{
    ENTITY* cereal = add_new(scene.structures, 1.0f, 120.0f, TYPE_CEREAL);
    cereal->vx = 1.5f;
    cereal->vy = -30.0f;
    cereal->ay = 0;
    {
        TraceCapture trace;
        scene.structures->process();
        EXPECT_EQ(trace.text(), "CEREAL 1.5 -30 1 120\n");
    }
    ASSERT_EQ(scene.structures->entities.size(), 1u);
    scene.structures->process();   // now at radius 90
    EXPECT_TRUE(scene.structures->entities.empty());
}

TEST_F(BehaviourTest, SkyBoatGrowsToCruisingSizeAndStays)
{
    ENTITY* boat = add_new(scene.actors, 1.0f, WORLD_RADIUS, TYPE_SKYBOAT, 1.0f, "Ann");
    run(scene.actors, 1000);
    ASSERT_EQ(scene.actors->entities.size(), 1u);
    EXPECT_FLOAT_EQ(boat->zoomspeed, 0.0f);
    EXPECT_NEAR(boat->zoom, 0.3f, 0.011f);
    EXPECT_FLOAT_EQ(boat->timer, 0.0f);
}

TEST_F(BehaviourTest, OpenFridgeClosesAfterAHundredTicks)
{
    ENTITY* fridge = add_new(scene.structures, 1.0f, 1000.0f, TYPE_FRIDGE);
    run(scene.structures, 20);
    EXPECT_FLOAT_EQ(fridge->timer, 0.0f) << "a closed fridge keeps no time";
    fridge->setmode(STATE_YELL);
    run(scene.structures, 100);
    EXPECT_EQ(fridge->mode, STATE_YELL);
    EXPECT_EQ(fridge->sprite, SPRITE_FRIDGE_OPEN);
    run(scene.structures, 1);
    EXPECT_EQ(fridge->mode, STATE_IDLE);
    EXPECT_EQ(fridge->sprite, SPRITE_FRIDGE_CLOSED);
}

}  // namespace
