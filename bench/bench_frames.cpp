// Frame benchmark of one screen profile: the show runs in its real window, and every so many
// ticks frames are drawn and timed in three phases (GL calls, rasteriser, presenting), the
// reference path and the fast path taking turns frame by frame so that both see the same load.
// Prints the two paths' cost and ratio at every moment; per scene its busiest moment and all its
// moments pooled; and for each busiest moment the fill (what each sprite puts on screen), where
// the reference frame's time goes layer by layer, and what the fast path left out.
#include "figures.h"
#include "fill.h"
#include "offscreen_gl.h"
#include "headless.h"
#include "trace_meter.h"

#include "drawpath.h"
#include "entityswarm.h"
#include "gfx.h"
#include "driver.h"
#include "scene.h"
#include "sceneswarm.h"
#include "screen.h"
#include "show_drawing.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr long DEFAULT_TICKS = 48000;       // the same show span as the logic benchmark
constexpr long SAMPLE_EVERY = 1000;         // ticks between two timed moments: 48 moments in all
constexpr int FRAMES_PER_SAMPLE = 8;        // frames timed each way at each moment
constexpr int LAYERS = LAYER_COUNT;         // a scene's layers, drawn back to front (DRAWING_ORDER)

using Clock = std::chrono::steady_clock;

// Milliseconds from `since` to now.
double ms_since(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// The timed phases of frames drawn one way.
struct Timings {
    std::vector<double> submit_ms;    // issuing the scene's GL calls, trace included
    std::vector<double> raster_ms;    // waiting for the rasteriser to finish them
    std::vector<double> present_ms;   // swapping the buffers and waiting for the swap
    std::vector<double> frame_ms;     // the three together
};

// The measures of one moment of the show.
struct Moment {
    long tick = 0;
    int scene = 0;                    // scene number on screen
    int mode = 0;                     // its mode
    long entities = 0;                // every entity of that scene
    Timings reference;
    Timings fast;
    double layer_ms[LAYERS] = {};     // the reference frame rasterised layer by layer, the clear in the first
    std::vector<SpriteFill> fill;     // one fast frame's quads, by sprite
    DrawSavings saved;                // what the fast frames left out, all of them together
    double trace_bytes = 0.0;         // trace written per frame
    double trace_lines = 0.0;
};

// Draws one frame as the show does, timing its three phases into `times`.
void timed_frame(Timings& times)
{
    const Clock::time_point start = Clock::now();
    draw_frame();
    const double submitted = ms_since(start);
    glFinish();
    const double rasterised = ms_since(start);
    present_frame();
    glFinish();
    const double presented = ms_since(start);
    times.submit_ms.push_back(submitted);
    times.raster_ms.push_back(rasterised - submitted);
    times.present_ms.push_back(presented - rasterised);
    times.frame_ms.push_back(presented);
}

// Draws a reference frame of `scene` a layer at a time, waiting for the rasteriser after each.
void time_layers(SCENE* scene, Moment& moment)
{
    set_draw_path(DrawPath::REFERENCE);
    Clock::time_point start = Clock::now();
    begin_frame();
    for (int i = 0; i < LAYERS; ++i) {
        draw_swarm(*(scene->*DRAWING_ORDER[i].swarm));
        glFinish();
        moment.layer_ms[i] = ms_since(start);
        start = Clock::now();
    }
    end_frame();
    present_frame();
}

// Lists the quads of one fast frame and adds up what they put on screen.
void measure_fill(Moment& moment, const std::vector<std::vector<uint8_t>>& alphas)
{
    std::vector<PlacedQuad> quads;
    set_draw_path(DrawPath::FAST);
    watch_quads(&quads);
    draw_frame();
    watch_quads(nullptr);
    present_frame();
    add_fill(quads, alphas, moment.fill);
}

// Times FRAMES_PER_SAMPLE frames each way of the show as it stands at `tick`, taking turns.
Moment time_moment(long tick, MeteredTrace& trace, const std::vector<std::vector<uint8_t>>& alphas)
{
    Moment moment;
    SCENE* scene = shown_scene();
    moment.tick = tick;
    moment.scene = scene ? scene->number : 0;
    moment.mode = scene ? scene->mode : 0;
    moment.entities = scene ? scene_population(scene) : 0;
    const long long bytes = trace.bytes();
    const long long lines = trace.lines();
    reset_draw_savings();
    for (int f = 0; f < FRAMES_PER_SAMPLE; ++f) {
        set_draw_path(DrawPath::REFERENCE);
        timed_frame(moment.reference);
        set_draw_path(DrawPath::FAST);
        timed_frame(moment.fast);
    }
    moment.saved = draw_savings();
    moment.trace_bytes = static_cast<double>(trace.bytes() - bytes) / (2 * FRAMES_PER_SAMPLE);
    moment.trace_lines = static_cast<double>(trace.lines() - lines) / (2 * FRAMES_PER_SAMPLE);
    if (scene)
        time_layers(scene, moment);
    measure_fill(moment, alphas);
    return moment;
}

// Runs `ticks` ticks of the show, measuring every SAMPLE_EVERY ticks.
std::vector<Moment> run_show(long ticks, MeteredTrace& trace)
{
    const std::vector<std::vector<uint8_t>> alphas = read_sprite_alphas();
    std::vector<Moment> moments;
    run_to_tick(sceneswarm.showticks + ticks, [&](long tick) {
        if ((tick + 1) % SAMPLE_EVERY == 0)
            moments.push_back(time_moment(tick + 1, trace, alphas));
        return true;
    });
    return moments;
}

// The ratio of the fast path's median frame to the reference path's.
double ratio(const Moment& m)
{
    const double reference = summarise(m.reference.frame_ms).median;
    return reference > 0 ? summarise(m.fast.frame_ms).median / reference : 0.0;
}

// Prints every moment's frame cost both ways and their ratio.
void print_moments(const std::vector<Moment>& moments)
{
    std::printf("\n%7s %-6s %-12s %9s %9s %9s %7s\n", "tick", "scene", "mode", "entities", "ref ms", "fast ms",
                "ratio");
    for (const Moment& m : moments)
        std::printf("%7ld %-6d %-12s %9ld %9.2f %9.2f %7.2f\n", m.tick, m.scene, mode_name(m.mode), m.entities,
                    summarise(m.reference.frame_ms).median, summarise(m.fast.frame_ms).median, ratio(m));
}

// Prints one row: one path's frame costs at a moment (or pooled over several).
void print_row(const char* label, const char* path, const Moment& m, const Timings& t)
{
    const Summary frame = summarise(t.frame_ms);
    std::printf("%-6d %-8s %-10s %7ld %-12s %9ld %8.2f %8.2f %8.2f %8.2f %8.2f %9.0f %7.0f\n", m.scene, label, path,
                m.tick, mode_name(m.mode), m.entities, frame.median, frame.p99, summarise(t.submit_ms).median,
                summarise(t.raster_ms).median, summarise(t.present_ms).median, m.trace_bytes, m.trace_lines);
}

// Appends `from`'s timings to `into`.
void pool(Timings& into, const Timings& from)
{
    for (auto field : {&Timings::submit_ms, &Timings::raster_ms, &Timings::present_ms, &Timings::frame_ms})
        (into.*field).insert((into.*field).end(), (from.*field).begin(), (from.*field).end());
}

// The moment of scene `number` with the most entities, or null.
const Moment* busiest_of(int number, const std::vector<Moment>& moments)
{
    const Moment* busiest = nullptr;
    for (const Moment& m : moments)
        if (m.scene == number && (!busiest || m.entities > busiest->entities))
            busiest = &m;
    return busiest;
}

// Prints the busiest moment of scene `number` and all its moments pooled, both ways.
void print_scene(int number, const std::vector<Moment>& moments)
{
    const Moment* busiest = busiest_of(number, moments);
    if (!busiest)
        return;
    Moment all = *busiest;
    all.reference = Timings();
    all.fast = Timings();
    for (const Moment& m : moments)
        if (m.scene == number) {
            pool(all.reference, m.reference);
            pool(all.fast, m.fast);
        }
    print_row("busiest", "reference", *busiest, busiest->reference);
    print_row("busiest", "fast", *busiest, busiest->fast);
    print_row("all", "reference", all, all.reference);
    print_row("all", "fast", all, all.fast);
}

// The base name of a sprite's image file.
std::string sprite_name(size_t sprite)
{
    const std::string& path = gfxfiles[sprite];
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    return path.substr(slash + 1, dot - slash - 1);
}

// Prints the fill of a moment: per sprite its quads, on-screen pixels and their texels' alpha.
void print_fill(const Moment& m)
{
    const double screen = double(SCREEN_WIDTH) * SCREEN_HEIGHT;
    std::printf("\nFill of scene %d at tick %ld (%s): nearest texel of each on-screen fragment\n", m.scene, m.tick,
                mode_name(m.mode));
    std::printf("%-4s %-14s %6s %12s %8s %8s %8s %8s\n", "#", "sprite", "quads", "pixels", "screens", "transp%",
                "opaque%", "partial%");
    SpriteFill total;
    for (size_t i = 0; i < m.fill.size(); ++i) {
        const SpriteFill& f = m.fill[i];
        if (f.quads == 0)
            continue;
        const double p = f.pixels > 0 ? 100.0 / f.pixels : 0.0;
        std::printf("%-4zu %-14s %6ld %12.0f %8.3f %8.1f %8.1f %8.1f\n", i, sprite_name(i).c_str(), f.quads, f.pixels,
                    f.pixels / screen, f.transparent * p, f.opaque * p, (f.pixels - f.transparent - f.opaque) * p);
        total.quads += f.quads;
        total.pixels += f.pixels;
        total.transparent += f.transparent;
        total.opaque += f.opaque;
    }
    const double p = total.pixels > 0 ? 100.0 / total.pixels : 0.0;
    std::printf("%-4s %-14s %6ld %12.0f %8.3f %8.1f %8.1f %8.1f\n", "", "all", total.quads, total.pixels,
                total.pixels / screen, total.transparent * p, total.opaque * p,
                (total.pixels - total.transparent - total.opaque) * p);
}

// Prints where a reference frame's rasterising time goes, layer by layer, at a moment.
void print_layers(const Moment& m)
{
    double sum = 0.0;
    for (double ms : m.layer_ms)
        sum += ms;
    std::printf("Reference frame layer by layer (clear included in backdrop), %.2f ms in all:", sum);
    for (int i = 0; i < LAYERS; ++i)
        std::printf(" %s %.2f ms (%.0f%%)", DRAWING_ORDER[i].name, m.layer_ms[i], sum > 0 ? 100.0 * m.layer_ms[i] / sum : 0.0);
    std::printf("\n");
}

// Prints what the fast path left out per frame at a moment.
void print_savings(const Moment& m)
{
    const DrawSavings& s = m.saved;
    const double frames = s.frames > 0 ? double(s.frames) : 1.0;
    std::printf("Fast path per frame: %.0f quads, %.0f unseen and left out, %.0f unblended, %.0f scissored, "
                "%.0f in bands, %.0f binds and %.2f clears left out, backdrop put %.2f and kept %.2f times\n",
                s.quads / frames, s.unseen / frames, s.unblended / frames, s.cut / frames, s.banded / frames,
                s.binds / frames,
                s.clears / frames, s.backdrops_put / frames, s.backdrops_kept / frames);
}

// Prints the tables of a whole run.
void print_report(const std::vector<Moment>& moments, long ticks)
{
    std::printf("\nFrame cost, %dx%d, renderer %s, %ld ticks, %d frames each way every %ld ticks, interleaved\n",
                SCREEN_WIDTH, SCREEN_HEIGHT, reinterpret_cast<const char*>(glGetString(GL_RENDERER)), ticks,
                FRAMES_PER_SAMPLE, SAMPLE_EVERY);
    print_moments(moments);
    std::printf("\n%-6s %-8s %-10s %7s %-12s %9s %8s %8s %8s %8s %8s %9s %7s\n", "scene", "moment", "path", "tick",
                "mode", "entities", "med ms", "p99 ms", "GL ms", "raster", "present", "trace B", "lines");
    print_scene(1, moments);
    print_scene(2, moments);
    std::printf("(\"all\" rows pool every moment of the scene; their tick, mode, entities and trace are the busiest's)\n");
    for (int number : {1, 2}) {
        const Moment* busiest = busiest_of(number, moments);
        if (!busiest)
            continue;
        print_fill(*busiest);
        print_layers(*busiest);
        print_savings(*busiest);
    }
    std::printf("peak RSS: %ld KiB\n", peak_rss_kib());
}

}

// Usage: bench-frames[-hd] [ticks], run in the run folder: in a window under an X display, or
// off-screen through EGL without one.
int main(int argc, char** argv)
{
    const long ticks = argc > 1 ? std::atol(argv[1]) : DEFAULT_TICKS;
    if (wants_offscreen(false, std::getenv("DISPLAY")))
        make_context_with(make_show_context_offscreen);
    std::vector<Moment> moments;
    {
        MeteredTrace trace;
        if (ticks <= 0 || !init_sdl()) {
            std::fprintf(stderr, "usage: bench-frames [ticks], in the run folder (%s)\n", SDL_GetError());
            return 2;
        }
        start_fixed_show();
        moments = run_show(ticks, trace);
    }
    print_report(moments, ticks);
    SDL_Quit();
    return 0;
}
