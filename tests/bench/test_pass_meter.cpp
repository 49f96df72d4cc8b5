// Reading main-loop passes from a trace written by the loop's own main_pass, driven with chosen times.
#include "pass_meter.h"

#include "main.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr double START_MS = 700.0;                // pass time of the first pass: start-up took this long
constexpr double STEADY_STEP_MS = 5.0;            // ms between passes of a loop that keeps up
constexpr double STEADY_SPAN_MS = 10000.0;        // ms of steady running
constexpr double STALL_MS = 5000.0;               // one pass that took this long
constexpr double SUM_TOLERANCE = 1e-6;            // ms; sums of many doubles round in the last bits

long logic_calls = 0;

// The tick main_pass runs: counted, and traced as do_logic traces it, with scene noise around.
void traced_logic()
{
    ++logic_calls;
    trace() << "logic " << std::flush << "BKG1: 22" << std::endl << "SOCK SOCK ";
}

// The trace and the truth of a run of main_pass at the given pass times.
struct LoopRun {
    std::string trace;
    long ticks = 0;
    long frames = 0;
};

// Runs main_pass at each time of `times`, drawing (tracing "SCALE") when it says so.
LoopRun run_loop(const std::vector<double>& times)
{
    LoopRun run;
    logic_calls = 0;
    MAINCLOCK clock;
    TraceCapture capture;
    for (double now : times) {
        if (main_pass(clock, now, traced_logic)) {
            trace() << "SCALE 1\n";
            run.frames += 1;
        }
    }
    run.trace = capture.text();
    run.ticks = logic_calls;
    return run;
}

// Pass times from `from` to `to` (inclusive) every `step` ms.
std::vector<double> passes(double from, double to, double step, std::vector<double> times = {})
{
    for (double t = from; t <= to; t += step)
        times.push_back(t);
    return times;
}

// The figures of a whole trace, fed in pieces of `piece` bytes.
PassFigures measure(const std::string& trace, std::size_t piece)
{
    PassMeter meter;
    for (std::size_t at = 0; at < trace.size(); at += piece)
        meter.feed(trace.data() + at, std::min(piece, trace.size() - at));
    return meter.finish();
}

TEST(PassMeter, SteadyLoopDropsNothingAfterStartUp)
{
    const LoopRun run = run_loop(passes(START_MS, START_MS + STEADY_SPAN_MS, STEADY_STEP_MS));
    const PassFigures f = measure(run.trace, run.trace.size());
    EXPECT_EQ(f.ticks, run.ticks);
    EXPECT_EQ(f.frames, run.frames);
    EXPECT_EQ(f.mismatched_passes, 0);
    EXPECT_EQ(f.dropped_ms, 0.0);
    EXPECT_NEAR(f.startup_dropped_ms, START_MS - CATCH_UP_LIMIT, SUM_TOLERANCE);
    EXPECT_DOUBLE_EQ(f.span_seconds(), STEADY_SPAN_MS / 1000.0);
    EXPECT_EQ(f.bytes, static_cast<long long>(run.trace.size()));
}

TEST(PassMeter, StallDropsAllButTheCatchUpLimit)
{
    std::vector<double> times = passes(START_MS, START_MS + 100.0, STEADY_STEP_MS);
    const double stalled = times.back() + STALL_MS;
    times = passes(stalled, stalled + 100.0, STEADY_STEP_MS, times);
    const LoopRun run = run_loop(times);
    const PassFigures f = measure(run.trace, run.trace.size());
    EXPECT_EQ(f.ticks, run.ticks);
    EXPECT_EQ(f.frames, run.frames);
    EXPECT_EQ(f.dropping_passes, 1);
    // The stalled pass carried up to one tick length in; the limit lets four tick lengths through.
    EXPECT_GT(f.dropped_ms, STALL_MS - CATCH_UP_LIMIT);
    EXPECT_LE(f.dropped_ms, STALL_MS - CATCH_UP_LIMIT + TICK_LENGTH);
}

TEST(PassMeter, MarksSplitAcrossPiecesCountTheSame)
{
    const LoopRun run = run_loop(passes(START_MS, START_MS + 1000.0, 7.0));
    const PassFigures whole = measure(run.trace, run.trace.size());
    for (std::size_t piece : {1u, 3u, 5u}) {
        const PassFigures split = measure(run.trace, piece);
        EXPECT_EQ(split.passes, whole.passes) << piece;
        EXPECT_EQ(split.ticks, whole.ticks) << piece;
        EXPECT_EQ(split.lines, whole.lines) << piece;
        EXPECT_EQ(split.dropped_ms, whole.dropped_ms) << piece;
    }
}

TEST(PassMeter, TicksTheClockCannotExplainAreReported)
{
    // Two passes 10 ms apart cannot run a tick; a trace that claims one is off the clock.
    const std::string trace = "CT: 1000\n--\nCT: 1010\n16.6,-logic --\nCT: 1011\n--";
    const PassFigures f = measure(trace, trace.size());
    EXPECT_EQ(f.passes, 3);
    EXPECT_EQ(f.ticks, 1);
    EXPECT_EQ(f.frames, 2);   // the first pass and the one with a tick
    EXPECT_EQ(f.mismatched_passes, 1);
}

TEST(PassMeter, TraceWithoutPassesHasNoSpan)
{
    const std::string trace = "ADD ADD logic Init complete.\n";
    const PassFigures f = measure(trace, trace.size());
    EXPECT_EQ(f.passes, 0);
    EXPECT_EQ(f.ticks, 0);
    EXPECT_EQ(f.span_seconds(), 0.0);
}

}
