// The whole show in-process: 40 000 ticks of the timeline, past the start of the alternation,
// with the modes it goes through read from the trace as it streams by.
#include "driver.h"
#include "entityswarm.h"
#include "host_services.h"
#include "scene.h"
#include "sceneswarm.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr unsigned SEED = 1207;        // any fixed seed: the run only needs repeatable draws
constexpr int SHOW_TICKS = 40000;      // past the first alternation steps at 37000 and 38000
constexpr size_t KEEP_TAIL = 64;       // characters kept between writes: more than the longest marker

// A stream buffer that forgets the trace but notes the show tick of every marker it sees.
class MarkerWatch : public std::streambuf {
public:
    explicit MarkerWatch(std::vector<std::string> markers) : markers(std::move(markers)) {}

    int tick = 0;                                   // the show tick now being run
    std::map<std::string, std::vector<int>> seen;   // marker -> show ticks it was written in

protected:
    int overflow(int c) override
    {
        if (c != traits_type::eof()) {
            const char one = static_cast<char>(c);
            scan(&one, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        scan(s, static_cast<size_t>(n));
        return n;
    }

private:
    std::vector<std::string> markers;
    std::string tail;   // the end of the trace so far, so a marker split over two writes is found

    // Looks for the markers in the new text and keeps its end for the next write.
    void scan(const char* s, size_t n)
    {
        const size_t old = tail.size();
        tail.append(s, n);
        for (const std::string& marker : markers) {
            size_t from = old >= marker.size() ? old - marker.size() + 1 : 0;
            for (size_t at = tail.find(marker, from); at != std::string::npos; at = tail.find(marker, at + 1))
                seen[marker].push_back(tick);
        }
        if (tail.size() > KEEP_TAIL)
            tail.erase(0, tail.size() - KEEP_TAIL);
    }
};

// What the run recorded: the markers seen, and the scenes' state after every timeline step.
struct ShowRun {
    std::map<std::string, std::vector<int>> seen;
    std::map<int, std::vector<int>> state_after;   // tick -> {visible1, running1, mode1, visible2, running2, mode2}
    bool finished = false;
};

const std::vector<std::string> MARKERS = {"SCENE CHANGE: BUILDFUTURE\n", "SCENE CHANGE: VACUUM\n",
                                          " FOLLOW MODE_SKYNAMES ", "SPAWN SOCK", "[FOLLOW STOP]"};
const std::vector<int> STEPS = {0, 2000, 10000, 15000, 20000, 30000, 32000, 36000, 37000, 38000, 39000};

// Runs a fresh show for SHOW_TICKS ticks, watching the trace.
const ShowRun& whole_show()
{
    static ShowRun run;
    if (run.finished)
        return run;
    MarkerWatch watch(MARKERS);
    TraceSentTo watched(&watch);
    seed_show_random(SEED);
    std::unique_ptr<SCENESWARM> show(new SCENESWARM());
    run_to_tick(SHOW_TICKS, [&](long t) {
        if (std::find(STEPS.begin(), STEPS.end(), t) != STEPS.end()) {
            const SCENE& one = *show->scene1;
            const SCENE& two = *show->scene2;
            run.state_after[t] = {one.visible, one.running, one.mode, two.visible, two.running, two.mode};
        }
        watch.tick = t + 1;   // the marker of the tick about to run
        return true;
    }, *show);
    run.seen = watch.seen;
    run.finished = show->showticks == SHOW_TICKS;
    return run;
}

// The ticks a marker was written in, or none.
std::vector<int> ticks_of(const ShowRun& run, const std::string& marker)
{
    auto found = run.seen.find(marker);
    return found == run.seen.end() ? std::vector<int>() : found->second;
}

TEST(WholeShow, RunsFortyThousandTicksWithoutACrash)
{
    EXPECT_TRUE(whole_show().finished);
}

TEST(WholeShow, ModeChangesAppearInTheTraceAtTheirTicks)
{
    const ShowRun& run = whole_show();
    EXPECT_EQ(ticks_of(run, MARKERS[0]), std::vector<int>({2000}));
    EXPECT_EQ(ticks_of(run, MARKERS[1]), std::vector<int>({10000}));
}

TEST(WholeShow, SocksSpawnOnlyWhileSceneOneWanders)
{
    const std::vector<int> spawns = ticks_of(whole_show(), "SPAWN SOCK");
    ASSERT_FALSE(spawns.empty());
    EXPECT_GE(spawns.front(), 100);
    EXPECT_LT(spawns.back(), 2000);
}

TEST(WholeShow, SkyNamesFollowClimbsOnlyBetweenTwentyAndThirtyThousand)
{
    const std::vector<int> skynames = ticks_of(whole_show(), " FOLLOW MODE_SKYNAMES ");
    ASSERT_GE(skynames.size(), 2u) << "at least two climbs reach a tower top";
    EXPECT_GT(skynames.front(), 20000);
    EXPECT_LT(skynames.back(), 30000);
    for (size_t i = 1; i < skynames.size(); ++i)
        EXPECT_GT(skynames[i] - skynames[i - 1], 500) << "each sky names round lasts 500 ticks before a climb";
}

TEST(WholeShow, TheCameraFollowsSocksInBuildFutureAndVacuum)
{
    const std::vector<int> arrivals = ticks_of(whole_show(), "[FOLLOW STOP]");
    auto within = [&](int from, int to) {
        return std::any_of(arrivals.begin(), arrivals.end(), [&](int t) { return t >= from && t < to; });
    };
    EXPECT_FALSE(within(0, 2000)) << "wandering follows nothing";
    EXPECT_TRUE(within(2000, 10000));
    EXPECT_TRUE(within(10000, 15000));
    EXPECT_TRUE(within(15000, 20000)) << "scene 2 visits fridges";
}

TEST(WholeShow, EveryTimelineStepLeavesItsScenesAsTheTimelineSays)
{
    const ShowRun& run = whole_show();
    const std::map<int, std::vector<int>> expected = {
        {0, {1, 1, MODE_WANDER, 0, 0, MODE_IDLE}},
        {2000, {1, 1, MODE_BUILDFUTURE, 0, 0, MODE_IDLE}},
        {10000, {1, 1, MODE_VACUUM, 0, 0, MODE_IDLE}},
        {15000, {0, 0, MODE_VACUUM, 1, 1, MODE_WANDER}},
        {30000, {1, 1, MODE_VACUUM, 0, 0, MODE_WANDER}},
        {32000, {0, 0, MODE_VACUUM, 1, 1, MODE_IDLE}},
        {36000, {0, 0, MODE_VACUUM, 1, 1, MODE_IDLE}},
        {37000, {0, 0, MODE_VACUUM, 1, 1, MODE_IDLE}},
        {38000, {1, 1, MODE_VACUUM, 0, 0, MODE_IDLE}},
        {39000, {0, 0, MODE_VACUUM, 1, 1, MODE_IDLE}},
    };
    for (const auto& [tick, want] : expected)
        EXPECT_EQ(run.state_after.at(tick), want) << "after tick " << tick;
    const std::vector<int>& climb = run.state_after.at(20000);
    EXPECT_EQ(std::vector<int>(climb.begin(), climb.begin() + 2), std::vector<int>({1, 1}));
    EXPECT_EQ(climb[2], MODE_CLIMB);
}

} // namespace
