// Frame benchmark of one screen profile: the show runs in its real window, and every so many
// ticks a few frames are drawn and timed in three phases (GL calls, rasteriser, presenting).
// Prints, per scene, the frame cost at its busiest moment and over all its moments.
#include "figures.h"
#include "headless.h"
#include "trace_meter.h"

#include "drawpath.h"
#include "gfx.h"
#include "scene.h"
#include "sceneswarm.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr long DEFAULT_TICKS = 48000;       // the same show span as the logic benchmark
constexpr long SAMPLE_EVERY = 1000;         // ticks between two timed moments: 48 moments in all
constexpr int FRAMES_PER_SAMPLE = 12;       // frames timed at each moment

using Clock = std::chrono::steady_clock;

// Milliseconds from `since` to now.
double ms_since(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// The timings of one moment of the show.
struct Moment {
    long tick = 0;
    int scene = 0;                    // scene number on screen
    int mode = 0;                     // its mode
    long entities = 0;                // every entity of that scene
    std::vector<double> submit_ms;    // clearing and issuing the scene's GL calls, trace included
    std::vector<double> raster_ms;    // waiting for the rasteriser to finish them
    std::vector<double> present_ms;   // swapping the buffers and waiting for the swap
    std::vector<double> frame_ms;     // the three together
    double trace_bytes = 0.0;         // trace written per frame
    double trace_lines = 0.0;
};

// Draws one frame as do_gfx does, timing its three phases into `moment`.
void timed_frame(Moment& moment)
{
    const Clock::time_point start = Clock::now();
    begin_frame();
    sceneswarm.draw();
    end_frame();
    const double submitted = ms_since(start);
    glFinish();
    const double rasterised = ms_since(start);
    SDL_GL_SwapBuffers();
    glFinish();
    const double presented = ms_since(start);
    moment.submit_ms.push_back(submitted);
    moment.raster_ms.push_back(rasterised - submitted);
    moment.present_ms.push_back(presented - rasterised);
    moment.frame_ms.push_back(presented);
}

// Times FRAMES_PER_SAMPLE frames of the show as it stands at `tick`.
Moment time_moment(long tick, MeteredTrace& trace)
{
    Moment moment;
    SCENE* scene = shown_scene();
    moment.tick = tick;
    moment.scene = scene ? scene->number : 0;
    moment.mode = scene ? scene->mode : 0;
    moment.entities = scene ? scene_population(scene) : 0;
    const long long bytes = trace.bytes();
    const long long lines = trace.lines();
    for (int f = 0; f < FRAMES_PER_SAMPLE; ++f)
        timed_frame(moment);
    moment.trace_bytes = static_cast<double>(trace.bytes() - bytes) / FRAMES_PER_SAMPLE;
    moment.trace_lines = static_cast<double>(trace.lines() - lines) / FRAMES_PER_SAMPLE;
    return moment;
}

// Runs `ticks` ticks of the show, timing frames every SAMPLE_EVERY ticks.
std::vector<Moment> run_show(long ticks, MeteredTrace& trace)
{
    std::vector<Moment> moments;
    for (long t = 1; t <= ticks; ++t) {
        sceneswarm.process();
        if (t % SAMPLE_EVERY == 0)
            moments.push_back(time_moment(t, trace));
    }
    return moments;
}

// Prints one row: a moment's (or several moments') frame costs.
void print_row(const char* label, const Moment& m)
{
    const Summary frame = summarise(m.frame_ms);
    std::printf("%-8d %-10s %7ld %-12s %9ld %8.2f %8.2f %8.2f %8.2f %8.2f %9.0f %7.0f\n", m.scene, label, m.tick,
                mode_name(m.mode), m.entities, frame.median, frame.p99, summarise(m.submit_ms).median,
                summarise(m.raster_ms).median, summarise(m.present_ms).median, m.trace_bytes, m.trace_lines);
}

// Appends `from`'s timings to `into`.
void pool(Moment& into, const Moment& from)
{
    for (auto field : {&Moment::submit_ms, &Moment::raster_ms, &Moment::present_ms, &Moment::frame_ms})
        (into.*field).insert((into.*field).end(), (from.*field).begin(), (from.*field).end());
}

// Prints the busiest moment of scene `number` and all its moments pooled.
void print_scene(int number, const std::vector<Moment>& moments)
{
    const Moment* busiest = nullptr;
    Moment all;
    all.scene = number;
    for (const Moment& m : moments) {
        if (m.scene != number)
            continue;
        pool(all, m);
        if (!busiest || m.entities > busiest->entities)
            busiest = &m;
    }
    if (!busiest)
        return;
    print_row("busiest", *busiest);
    all.tick = busiest->tick;
    all.mode = busiest->mode;
    all.entities = busiest->entities;
    all.trace_bytes = busiest->trace_bytes;
    all.trace_lines = busiest->trace_lines;
    print_row("all", all);
}

// Prints the table of a whole run.
void print_report(const std::vector<Moment>& moments, long ticks)
{
    std::printf("\nFrame cost, %dx%d, renderer %s, %ld ticks, %d frames every %ld ticks\n", SCREEN_WIDTH,
                SCREEN_HEIGHT, reinterpret_cast<const char*>(glGetString(GL_RENDERER)), ticks, FRAMES_PER_SAMPLE,
                SAMPLE_EVERY);
    std::printf("%-8s %-10s %7s %-12s %9s %8s %8s %8s %8s %8s %9s %7s\n", "scene", "moment", "tick", "mode",
                "entities", "med ms", "p99 ms", "GL ms", "raster", "present", "trace B", "lines");
    print_scene(1, moments);
    print_scene(2, moments);
    std::printf("(\"all\" rows pool every moment of the scene; their tick, mode, entities and trace are the busiest's)\n");
    std::printf("peak RSS: %ld KiB\n", peak_rss_kib());
}

}

// Usage: bench-frames[-hd] [ticks], run in the run folder under an X display.
int main(int argc, char** argv)
{
    const long ticks = argc > 1 ? std::atol(argv[1]) : DEFAULT_TICKS;
    std::vector<Moment> moments;
    {
        MeteredTrace trace;
        if (ticks <= 0 || !init_sdl()) {
            std::fprintf(stderr, "usage: bench-frames [ticks], in the run folder under an X display (%s)\n",
                         SDL_GetError());
            return 2;
        }
        start_fixed_show();
        moments = run_show(ticks, trace);
    }
    print_report(moments, ticks);
    SDL_Quit();
    return 0;
}
