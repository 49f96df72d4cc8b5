// The main loop's clock arithmetic, driven with chosen clock values, the start-up seeding and the
// start at a later tick.
#include "host_services.h"
#include "main.h"
#include "scene.h"
#include "sceneswarm.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double EXACT_TICK = 16.666666666666668;        // the double nearest 1000/60, as the loop uses it
constexpr double THREE_TICK_CARRY = 16.66666666666666;   // what the catch-up limit leaves after three ticks
constexpr double CARRY_TOLERANCE = 1e-9;                  // ms; sums of unequal doubles round in the last bits
constexpr double STALL = 5000.0;                          // ms of a stalled pass: far beyond the catch-up limit
constexpr double SIMULATED_SPAN = 10000.0;                // ms of a simulated run at one pass per millisecond
constexpr int TICKS_IN_SPAN = 600;                        // 60 ticks per second over that span

int logic_calls = 0;

// The logic tick the tests hand to main_pass: counts its calls and marks them in the trace.
void counting_logic()
{
    ++logic_calls;
    trace() << "TICK ";
}

// A clock in the middle of a run: the previous pass at `last` with `carry` left over.
MAINCLOCK clock_at(double last, double carry)
{
    MAINCLOCK clock;
    clock.lastFrameTime = last;
    clock.cyclesLeftOver = carry;
    clock.tickran = false;
    return clock;
}

class MainPass : public ::testing::Test {
protected:
    void SetUp() override { logic_calls = 0; }

    // One pass at time `now`, its trace discarded; returns whether it draws.
    bool pass(MAINCLOCK& clock, double now)
    {
        TraceSilencer quiet;
        return main_pass(clock, now, counting_logic);
    }
};

TEST_F(MainPass, ExactlyOneTickLengthRunsNoTickAndIsCarried)
{
    MAINCLOCK clock = clock_at(0.0, 0.0);
    EXPECT_FALSE(pass(clock, EXACT_TICK));
    EXPECT_EQ(logic_calls, 0);
    EXPECT_EQ(clock.cyclesLeftOver, EXACT_TICK);

    // The carried time counts on the next pass: one more millisecond makes a tick.
    EXPECT_TRUE(pass(clock, EXACT_TICK + 1.0));
    EXPECT_EQ(logic_calls, 1);
    EXPECT_NEAR(clock.cyclesLeftOver, 1.0, CARRY_TOLERANCE);
}

TEST_F(MainPass, StallRunsThreeTicksDrawsOnceAndCarriesTheRest)
{
    MAINCLOCK clock = clock_at(1000.0, 4.0);
    EXPECT_TRUE(pass(clock, 1000.0 + STALL));
    EXPECT_EQ(logic_calls, 3);
    EXPECT_EQ(clock.cyclesLeftOver, THREE_TICK_CARRY);
    EXPECT_LT(clock.cyclesLeftOver, TICK_LENGTH);
    EXPECT_EQ(clock.lastFrameTime, 1000.0 + STALL);

    // The stalled time beyond the limit is dropped, not worked off later.
    EXPECT_FALSE(pass(clock, 1000.0 + STALL));
    EXPECT_EQ(logic_calls, 3);
}

TEST_F(MainPass, FirstPassDrawsEvenWithoutATick)
{
    MAINCLOCK clock;
    EXPECT_TRUE(pass(clock, 3.0));
    EXPECT_EQ(logic_calls, 0);
    EXPECT_FALSE(pass(clock, 4.0));
}

TEST_F(MainPass, PassWithoutATickDrawsNothing)
{
    MAINCLOCK clock = clock_at(1000.0, 0.0);
    EXPECT_TRUE(pass(clock, 1020.0));
    EXPECT_EQ(logic_calls, 1);
    EXPECT_FALSE(pass(clock, 1021.0));
    EXPECT_FALSE(pass(clock, 1022.0));
    EXPECT_EQ(logic_calls, 1);
    EXPECT_EQ(clock.lastFrameTime, 1022.0);
}

TEST_F(MainPass, OnePassPerMillisecondRunsSixtyTicksASecond)
{
    MAINCLOCK clock;
    int frames = 0;
    for (double now = 0.0; now <= SIMULATED_SPAN; now += 1.0)
        frames += pass(clock, now);
    EXPECT_GE(logic_calls, TICKS_IN_SPAN - 1);
    EXPECT_LE(logic_calls, TICKS_IN_SPAN);
    EXPECT_EQ(frames, logic_calls + 1);   // one frame per tick, plus the first pass
}

TEST_F(MainPass, TwoTickPassTracesInOrder)
{
    MAINCLOCK clock = clock_at(1000.0, 0.0);
    TraceCapture trace;
    main_pass(clock, 1040.0, counting_logic);
    EXPECT_EQ(trace.text(), "CT: 1040\n40,-TICK 23.3333,-TICK --");
}

TEST_F(MainPass, PassTimeIsTracedInTheStreamsDefaultFormat)
{
    MAINCLOCK clock = clock_at(1234567.0, 0.0);
    TraceCapture trace;
    main_pass(clock, 1234567.0, counting_logic);
    EXPECT_EQ(trace.text(), "CT: 1.23457e+06\n--");
}

TEST(Randomise, SeedsTheGeneratorWithTheTimeOfDay)
{
    for (;;) {
        const std::time_t before = std::time(nullptr);
        RANDOMISE seeded;
        const int draw = show_rand();
        if (std::time(nullptr) != before)
            continue;   // the second turned over; try again within one second
        seed_show_random(static_cast<unsigned>(before));
        EXPECT_EQ(draw, show_rand());
        return;
    }
}

// ---------------------------------------------------------------------------
// Starting at a later show tick, for measuring

TEST(StartTick, UnsetOrATickFromZeroToTheLimitIsTaken)
{
    ErrorCapture errors;
    EXPECT_EQ(start_tick_setting(nullptr), 0);
    EXPECT_EQ(start_tick_setting(""), 0);
    EXPECT_EQ(start_tick_setting("0"), 0);
    EXPECT_EQ(start_tick_setting("43000"), 43000);
    EXPECT_EQ(start_tick_setting("1000000"), 1000000);
    EXPECT_EQ(errors.text(), "");
}

TEST(StartTick, AnythingElseStartsAtTheBeginningAndIsNamed)
{
    for (const char* bad : {"-1", "1000001", "12ticks", "ten", "99999999999999999999999", " 5"}) {
        ErrorCapture errors;
        EXPECT_EQ(start_tick_setting(bad), 0) << bad;
        const std::string said = errors.text();
        EXPECT_NE(said.find(std::string("QUORAVINT_START_TICK=") + bad + " is not a show tick"), std::string::npos)
            << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "one line";
    }
}

TEST(StartTick, TheTicksBeforeItRunAndTraceOneLogicEach)
{
    const int from = sceneswarm.showticks;
    TraceCapture trace;
    run_to_tick(from + 3);
    EXPECT_EQ(sceneswarm.showticks, from + 3);
    EXPECT_EQ(count_occurrences(trace.text(), "logic "), 3);
    run_to_tick(from);
    EXPECT_EQ(sceneswarm.showticks, from + 3) << "an earlier tick runs nothing";
}

TEST(StartTick, RunsInSlicesThatTheHookMayStop)
{
    TraceSilencer quiet;
    const long from = sceneswarm.showticks;
    std::vector<long> hooked;
    const auto stop_after_two = [&](long tick) {
        hooked.push_back(tick);
        return hooked.size() % 2 != 0;
    };
    EXPECT_FALSE(run_to_tick(from + 5, stop_after_two));
    EXPECT_EQ(sceneswarm.showticks, from + 2);
    EXPECT_FALSE(run_to_tick(from + 5, stop_after_two));
    EXPECT_TRUE(run_to_tick(from + 5, stop_after_two));
    EXPECT_EQ(hooked, std::vector<long>({from, from + 1, from + 2, from + 3, from + 4}));
}

// The camera of the first scene after `ticks` ticks of a show built from `seed`, with `keys` handed
// over to the ticks.
std::pair<float, float> camera_after(unsigned seed, int ticks, const TickInput& keys)
{
    TraceSilencer quiet;
    seed_show_random(seed);
    std::unique_ptr<SCENESWARM> show(new SCENESWARM());
    hold_tick_input(keys);
    run_to_tick(ticks, nullptr, *show);
    hold_tick_input(TickInput());
    return {show->scenes[0]->camangle, show->scenes[0]->camy};
}

TEST(TickInput, TheKeysHandedOverSteerTheTicksThatFollow)
{
    constexpr unsigned SEED = 77;   // any fixed seed: the two shows of a case must be alike
    constexpr int TICKS = 20;       // scene 1 runs from the first tick, its camera free
    const auto free_camera = camera_after(SEED, TICKS, TickInput());
    struct Case {
        const char* name;
        TickInput keys;
        int turned;   // sign of the angle's change against the free camera
        int lifted;   // sign of the height's change
    };
    const auto keys = [](bool left, bool right, bool up, bool down) {
        TickInput input;
        input.left = left, input.right = right, input.up = up, input.down = down;
        return input;
    };
    for (const Case& c : {Case{"none", keys(false, false, false, false), 0, 0},
                          Case{"right", keys(false, true, false, false), 1, 0},
                          Case{"left", keys(true, false, false, false), -1, 0},
                          Case{"up", keys(false, false, true, false), 0, 1},
                          Case{"down", keys(false, false, false, true), 0, -1}}) {
        const auto steered = camera_after(SEED, TICKS, c.keys);
        EXPECT_EQ((steered.first > free_camera.first) - (steered.first < free_camera.first), c.turned) << c.name;
        EXPECT_EQ((steered.second > free_camera.second) - (steered.second < free_camera.second), c.lifted) << c.name;
    }
}

}
