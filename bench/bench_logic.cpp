// Logic benchmark: the whole show run headlessly, each tick timed and filed under the scene
// on screen and its mode; prints a table of tick costs, ticks per second, trace volume and memory.
// A tick's cost is the CPU time of this thread, so that on a shared machine the time other
// processes take while this one waits does not count.
#include "figures.h"
#include "gfx.h"
#include "headless.h"
#include "trace_meter.h"

#include "driver.h"
#include "scene.h"
#include "sceneswarm.h"
#include "ticks.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr long DEFAULT_TICKS = 48000;   // 13 min 20 s of show: the whole timeline and six alternations
constexpr double SECONDS_PER_MINUTE = 60.0;   // for the run's length in minutes

using Clock = std::chrono::steady_clock;

// CPU time this thread has used, in microseconds.
double thread_cpu_us()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

// The bucket a tick is filed under: the scene on screen and its mode.
std::string bucket_of(SCENE* scene)
{
    if (!scene)
        return "none";
    return "scene " + std::to_string(scene->number) + " " + mode_name(scene->mode);
}

// The figures of a whole run.
struct LogicRun {
    std::map<std::string, std::vector<double>> microseconds;   // tick costs by bucket
    std::vector<double> all;                                    // every tick's cost
    double seconds = 0.0;                                       // wall time of all ticks
    long long trace_bytes = 0;
    long long trace_lines = 0;
};

// Runs `ticks` show ticks, timing each one, with the trace counted and discarded.
LogicRun run_show(long ticks)
{
    LogicRun run;
    MeteredTrace trace;
    const Clock::time_point start = Clock::now();
    std::string bucket = bucket_of(shown_scene());   // what the next tick shows when it begins
    double before = thread_cpu_us();
    run_to_tick(sceneswarm.showticks + ticks, [&](long) {
        const double us = thread_cpu_us() - before;
        run.microseconds[bucket].push_back(us);
        run.all.push_back(us);
        bucket = bucket_of(shown_scene());
        before = thread_cpu_us();
        return true;
    });
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.trace_bytes = trace.bytes();
    run.trace_lines = trace.lines();
    return run;
}

// Prints one row of the tick cost table.
void print_row(const std::string& bucket, const std::vector<double>& samples)
{
    const Summary s = summarise(samples);
    std::printf("%-24s %8zu %10.1f %10.1f %10.1f\n", bucket.c_str(), s.count, s.median, s.p99, s.max);
}

// Prints the table of a whole run.
void print_report(const LogicRun& run, long ticks)
{
    std::printf("\nLogic cost per tick, headless, %ld ticks (%.1f min of show)\n", ticks,
                ticks / double(TICKS_PER_SECOND) / SECONDS_PER_MINUTE);
    std::printf("%-24s %8s %10s %10s %10s   (CPU time of one tick)\n", "scene and mode", "ticks", "median us",
                "p99 us", "max us");
    for (const auto& bucket : run.microseconds)
        print_row(bucket.first, bucket.second);
    print_row("whole show", run.all);
    const double show_seconds = ticks / double(TICKS_PER_SECOND);
    std::printf("whole show: %.0f ticks per second of wall time (%.1f x real time)\n", ticks / run.seconds,
                ticks / run.seconds / TICKS_PER_SECOND);
    std::printf("logic trace: %.0f bytes and %.0f lines per second of show\n", run.trace_bytes / show_seconds,
                run.trace_lines / show_seconds);
    std::printf("peak RSS: %ld KiB\n", peak_rss_kib());
}

}

// Usage: bench-logic [ticks], run in the run folder.
int main(int argc, char** argv)
{
    const long ticks = argc > 1 ? std::atol(argv[1]) : DEFAULT_TICKS;
    if (ticks <= 0 || !load_font()) {
        std::fprintf(stderr, "usage: bench-logic [ticks], in the run folder with its assets\n");
        return 2;
    }
    start_fixed_show();
    print_report(run_show(ticks), ticks);
    return 0;
}
