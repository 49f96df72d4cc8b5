// The show's timeline, driven by calling the scene swarm's tick directly, faster than real time.
#include "driver.h"
#include "entity.h"
#include "entityswarm.h"
#include "host_services.h"
#include "scene.h"
#include "sceneswarm.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr unsigned SEED = 4242;   // any fixed seed: the tests only need repeatable draws

// What the timeline leaves a scene as, after the tick at which it acts.
struct SceneState {
    bool visible;
    bool running;
    int mode;
};

// The flags and mode of a scene.
SceneState state_of(const SCENE& scene)
{
    return {scene.visible, scene.running, scene.mode};
}

// Whether two states agree, for readable failures.
::testing::AssertionResult same_state(const SceneState& got, const SceneState& want)
{
    if (got.visible == want.visible && got.running == want.running && got.mode == want.mode)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "visible " << got.visible << " running " << got.running << " mode "
                                         << got.mode << ", wanted " << want.visible << " " << want.running << " "
                                         << want.mode;
}

// A fresh show whose scenes are built from a seeded generator.
std::unique_ptr<SCENESWARM> fresh_show()
{
    TraceSilencer quiet;
    seed_show_random(SEED);
    return std::unique_ptr<SCENESWARM>(new SCENESWARM());
}

// Runs the show's tick until `showticks` reaches `end`, the trace discarded.
void run_until(SCENESWARM& show, int end)
{
    TraceSilencer quiet;
    run_to_tick(end, nullptr, show);
}

// Jumps the clock to `t` and runs that one tick, returning its trace.
std::string tick_at(SCENESWARM& show, int t)
{
    show.showticks = t;
    TraceCapture trace;
    show.process();
    return trace.text();
}

TEST(Timeline, BuildsBothScenesHiddenAndStoppedInOrder)
{
    auto show = fresh_show();
    ASSERT_EQ(show->scenes.size(), 2u);
    EXPECT_EQ(show->scenes[0], show->scene1);
    EXPECT_EQ(show->scenes[1], show->scene2);
    EXPECT_EQ(show->scene1->number, 1);
    EXPECT_EQ(show->scene2->number, 2);
    EXPECT_EQ(show->showticks, 0);
    EXPECT_FALSE(show->scene1->visible || show->scene1->running || show->scene2->visible || show->scene2->running);
}

TEST(Timeline, FirstTickStartsSceneOneWanderingBeforeItRuns)
{
    auto show = fresh_show();
    const std::string trace = tick_at(*show, 0);
    EXPECT_TRUE(same_state(state_of(*show->scene1), {true, true, MODE_WANDER}));
    EXPECT_FALSE(show->scene2->visible || show->scene2->running);
    EXPECT_FLOAT_EQ(show->scene1->camspin, 1 / 1000.0f);
    EXPECT_EQ(count_occurrences(trace, "SOCK "), 40) << "scene 1's socks ran in the first tick";
    EXPECT_EQ(count_occurrences(trace, "BKG1: "), 2) << "both scenes were processed";
    EXPECT_EQ(show->scene2->ticks, 1) << "the stopped scene still counts";
    EXPECT_EQ(show->showticks, 1);
}

TEST(Timeline, EachStepSetsItsFlagsAndModes)
{
    auto show = fresh_show();
    SCENE& one = *show->scene1;
    SCENE& two = *show->scene2;
    tick_at(*show, 0);
    struct Step {
        int t;
        SceneState one, two;
    };
    const std::vector<Step> steps = {
        {2000, {true, true, MODE_BUILDFUTURE}, {false, false, MODE_IDLE}},
        {10000, {true, true, MODE_VACUUM}, {false, false, MODE_IDLE}},
        {15000, {false, false, MODE_VACUUM}, {true, true, MODE_WANDER}},
        {20000, {true, true, MODE_CLIMB}, {false, false, MODE_WANDER}},
        {30000, {true, true, MODE_VACUUM}, {false, false, MODE_WANDER}},
        {32000, {false, false, MODE_VACUUM}, {true, true, MODE_IDLE}},
        {36000, {false, false, MODE_VACUUM}, {true, true, MODE_IDLE}},
        {37000, {false, false, MODE_VACUUM}, {true, true, MODE_IDLE}},
        {38000, {true, true, MODE_VACUUM}, {false, false, MODE_IDLE}},
        {39000, {false, false, MODE_VACUUM}, {true, true, MODE_IDLE}},
        {40000, {true, true, MODE_VACUUM}, {false, false, MODE_IDLE}},
    };
    for (const Step& step : steps) {
        tick_at(*show, step.t);
        EXPECT_TRUE(same_state(state_of(one), step.one)) << "scene 1 after tick " << step.t;
        EXPECT_TRUE(same_state(state_of(two), step.two)) << "scene 2 after tick " << step.t;
    }
}

TEST(Timeline, OnlyTheTwoModeChangesOfSceneOneWriteALine)
{
    auto show = fresh_show();
    tick_at(*show, 0);
    for (int t : {1999, 2001, 9999, 10001, 15000, 20000, 30000, 32000, 36000, 37000, 38000})
        EXPECT_EQ(count_occurrences(tick_at(*show, t), "SCENE CHANGE: "), 0) << "tick " << t;
    const std::string build = tick_at(*show, 2000);
    EXPECT_EQ(count_occurrences(build, "SCENE CHANGE: BUILDFUTURE\n"), 1);
    EXPECT_EQ(count_occurrences(build, "SCENE CHANGE: "), 1);
    const std::string vacuum = tick_at(*show, 10000);
    EXPECT_EQ(count_occurrences(vacuum, "SCENE CHANGE: VACUUM\n"), 1);
    EXPECT_EQ(count_occurrences(vacuum, "SCENE CHANGE: "), 1);
}

TEST(Timeline, VacuumBuildsTheRingOfFortyTowersAndStopsTheSpin)
{
    auto show = fresh_show();
    tick_at(*show, 0);
    tick_at(*show, 10000);
    int towers = 0;
    for (ENTITY* e : show->scene1->structures->entities)
        towers += e->type == TYPE_TOWER;
    EXPECT_EQ(towers, 40);
    EXPECT_EQ(show->scene1->camspin, 0.0f);
}

TEST(Timeline, ThirtyThousandResetsTheCameraHeightBeforeTheVacuum)
{
    auto show = fresh_show();
    show->scene1->camy = 4321.0f;
    tick_at(*show, 30000);
    EXPECT_FLOAT_EQ(show->scene1->camy, 1000.0f);
    EXPECT_EQ(show->scene1->mode, MODE_VACUUM);
}

TEST(Timeline, AlternationPutsTheShownScenesCameraBackAtZero)
{
    auto show = fresh_show();
    show->scene1->camangle = 3.0f;
    show->scene2->camangle = 3.0f;
    show->scene2->camspin = 0.0f;
    tick_at(*show, 36000);
    EXPECT_EQ(show->scene2->camangle, 3.0f) << "36000 itself changes nothing";
    tick_at(*show, 37000);
    EXPECT_EQ(show->scene2->camangle, 0.0f);
    EXPECT_EQ(show->scene1->camangle, 3.0f);
    show->scene1->camspin = 0.0f;
    tick_at(*show, 38000);
    EXPECT_EQ(show->scene1->camangle, 0.0f);
}

TEST(Timeline, OnlyOneSceneIsShownBetweenSteps)
{
    auto show = fresh_show();
    for (int t : {0, 1, 1999, 2000, 14999, 15000, 15001, 19999, 20000, 31999, 32000, 36500, 37000, 37999, 38000}) {
        tick_at(*show, t);
        EXPECT_NE(show->scene1->visible, show->scene2->visible) << "after tick " << t;
    }
}

// Where every entity of a swarm stands and what it does, in list order.
std::vector<std::tuple<ENTITY*, float, float, int>> snapshot(ENTITYSWARM* swarm)
{
    std::vector<std::tuple<ENTITY*, float, float, int>> all;
    for (ENTITY* e : swarm->entities)
        all.emplace_back(e, e->x, e->y, e->mode);
    return all;
}

TEST(Timeline, SceneOnePausesAtFifteenThousandAndResumesAtTwentyThousand)
{
    auto show = fresh_show();
    tick_at(*show, 0);
    SCENE& one = *show->scene1;
    one.ticks = SCROLL_START + 1;   // its scroll text would otherwise be added during the pause
    show->showticks = 14990;
    run_until(*show, 15000);
    const auto paused = snapshot(one.actors);
    const int ticks_at_pause = one.ticks;
    run_until(*show, 20000);
    EXPECT_EQ(snapshot(one.actors), paused) << "nothing of scene 1 moved while it was stopped";
    EXPECT_EQ(one.ticks, ticks_at_pause + 5000) << "but it counted its ticks";

    SCENE& two = *show->scene2;
    run_until(*show, 20001);
    EXPECT_NE(snapshot(one.actors), paused) << "scene 1 runs again";
    const float two_angle = two.camangle;
    const float two_spin = two.camspin;
    ASSERT_NE(two_spin, 0.0f);
    run_until(*show, 20011);
    EXPECT_NEAR(two.camangle, two_angle + 10 * two_spin, 1e-4) << "stopped scene 2 keeps turning";
}

TEST(Timeline, ShowTicksCountEveryCall)
{
    auto show = fresh_show();
    run_until(*show, 3);
    EXPECT_EQ(show->showticks, 3);
    EXPECT_EQ(show->scene1->ticks, 3);
    EXPECT_EQ(show->scene2->ticks, 3);
}

} // namespace
