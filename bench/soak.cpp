// Soak run: the show's logic for a long span in one process (built with the sanitizers it
// checks every access), printing every layer's population and the resident memory as it goes.
#include "figures.h"
#include "gfx.h"
#include "headless.h"
#include "trace_meter.h"

#include "driver.h"
#include "scene.h"
#include "sceneswarm.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr long DEFAULT_TICKS = 200000;   // 55 min 33 s of show
constexpr long DEFAULT_EVERY = 10000;    // ticks between two printed rows

// Prints the header of the population table.
void print_header()
{
    std::printf("\n%8s", "tick");
    for (SCENE* scene : sceneswarm.scenes)
        for (const auto& layer : scene_layers(scene))
            std::printf(" %5s%d.%-4.4s", "", scene->number, layer.first);
    std::printf(" %9s %12s\n", "RSS KiB", "trace MB");
}

// Prints one row: every layer's population (entities with their children) and the memory.
void print_row(long tick, std::map<std::string, long>& peaks, MeteredTrace& trace)
{
    std::printf("%8ld", tick);
    for (SCENE* scene : sceneswarm.scenes) {
        for (const auto& layer : scene_layers(scene)) {
            const long count = swarm_population(layer.second);
            long& peak = peaks[std::to_string(scene->number) + "." + layer.first];
            peak = std::max(peak, count);
            std::printf(" %11ld", count);
        }
    }
    std::printf(" %9ld %12.1f\n", resident_kib(), trace.bytes() / 1e6);
    std::fflush(stdout);
}

// Prints the largest population each layer reached.
void print_peaks(const std::map<std::string, long>& peaks)
{
    std::printf("largest population per layer:");
    for (const auto& peak : peaks)
        std::printf(" %s %ld", peak.first.c_str(), peak.second);
    std::printf("\npeak RSS: %ld KiB\n", peak_rss_kib());
}

}

// Usage: soak [ticks [ticks between rows]], run in the run folder.
int main(int argc, char** argv)
{
    const long ticks = argc > 1 ? std::atol(argv[1]) : DEFAULT_TICKS;
    const long every = argc > 2 ? std::atol(argv[2]) : DEFAULT_EVERY;
    if (ticks <= 0 || every <= 0 || !load_font()) {
        std::fprintf(stderr, "usage: soak [ticks [ticks between rows]], in the run folder with its assets\n");
        return 2;
    }
    start_fixed_show();
    std::map<std::string, long> peaks;
    MeteredTrace trace;
    print_header();
    run_to_tick(sceneswarm.showticks + ticks, [&](long tick) {
        if ((tick + 1) % every == 0)
            print_row(tick + 1, peaks, trace);
        return true;
    });
    print_peaks(peaks);
    std::printf("soak of %ld ticks done\n", ticks);
    return 0;
}
