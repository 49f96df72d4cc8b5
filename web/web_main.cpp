// The show's entry in a web page. The page calls main once the assets are in place and the
// visitor has asked for the show (browsers start sound only after a gesture). Start-up is the
// show's own init(); then the browser calls one pass of the main loop per animation frame, with
// the same clock arithmetic as natively and no sleep (the browser paces the frames).
#include "page_options.h"
#include "web_mixer.h"

#include "drawpath.h"
#include "gfx.h"
#include "host_services.h"
#include "main.h"
#include "scene.h"
#include "sceneswarm.h"
#include "screen.h"
#include "show_end.h"
#include "trace.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <emscripten.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

constexpr int RGBA_BYTES = 4;             // bytes of one grabbed pixel
constexpr int BROWSER_PACES_FRAMES = 0;   // emscripten_set_main_loop: one pass per animation frame
constexpr int NEVER_RETURNS = 1;          // emscripten_set_main_loop: main ends here, as natively it never returns
constexpr double SLICE_MS = 40.0;         // ms of undrawn ticks per pass before the first frame: the tab
                                          // keeps answering, with room for the pass's other work under 100 ms

MAINCLOCK show_clock;                 // the main loop's clock, carried from pass to pass
bool holding = false;                 // ?pause or the visitor's pause: the frame on the screen stays
long first_frame_tick = -1;           // the tick the undrawn ticks run up to before the first frame; -1 once drawn
bool trace_wanted = false;            // ?trace: the trace runs from the first frame on
std::vector<unsigned char> grabbed;   // the last frame grabbed for the page

// The query the page hands the show: its own address's, with the seed it chose when none was given.
EM_JS(char*, page_query, (), { return newCString(Module.showQuery || location.search); });

// Tells the page the show is ending with `status`, for its end card: Emscripten 3.1.69 (Debian 13)
// no longer hands a page the program's exit, as 3.1.6 did through Module.quit.
EM_JS(void, page_show_ended, (int status), { if (Module.onShowEnd) Module.onShowEnd(status); });

// The show's time in whole ms: the browser's monotonic clock, so a step of the system clock
// neither freezes the show nor races it.
double now_ms()
{
    return std::floor(emscripten_get_now());
}

// The page's options; a value it could not read is reported on the console and ignored.
PageOptions read_page_options()
{
    char* query = page_query();
    const PageOptions options = parse_page_options(query ? query : "");
    std::free(query);
    if (!options.problem.empty())
        std::cerr << "quoravint: " << options.problem << std::endl;
    return options;
}

// Turns the trace on (standard output) or off: a trace sent nowhere formats and writes nothing.
void trace_on(bool on)
{
    send_trace_to(on ? std::cout.rdbuf() : nullptr);
}

// Runs the undrawn ticks before the first frame, their sound mixed and dropped, for at most
// SLICE_MS; then, once they are all done, tick `first_frame_tick` and its frame: the frame
// demo-capture --start writes first. A far start keeps the page answering and its progress shown.
void start_slice()
{
    const double until = now_ms() + SLICE_MS;
    const bool reached = run_to_tick(first_frame_tick, [until](long tick) {
        mixer_skip_tick(tick);
        return now_ms() < until;
    });
    if (!reached)
        return;
    first_frame_tick = -1;
    trace_on(trace_wanted);
    do_logic();
    do_gfx();
    show_clock.lastFrameTime = now_ms();
    show_clock.tickran = false;
}

// Holds the show (`held` true) or lets it go on: the frame on the screen stays, the sound stops where
// it is, and the time held is not caught up afterwards.
void hold_show(bool held)
{
    holding = held;
    mixer_hold(held);
    show_clock.lastFrameTime = now_ms();
}

// One pass of the main loop: events (Escape ends the show), then ticks and a frame as time asks.
void main_loop_pass()
{
    drain_events();
    hold_tick_input(keys_held());
    if (first_frame_tick >= 0)
        start_slice();
    else if (!holding && main_pass(show_clock, now_ms()))
        do_gfx();
}

}  // namespace

// The level of the sound mixed last, from 0 to 1: the page's tests listen with it.
extern "C" EMSCRIPTEN_KEEPALIVE double quoravint_audio_level()
{
    return mixer_level();
}

// The show's tick count.
extern "C" EMSCRIPTEN_KEEPALIVE long quoravint_show_tick()
{
    return sceneswarm.showticks;
}

// The first running scene, whose camera the arrow keys steer; null when none runs.
static const SCENE* running_scene()
{
    for (const SCENE* scene : sceneswarm.scenes)
        if (scene->running)
            return scene;
    return nullptr;
}

// The camera angle of the running scene, in radians (0 when none runs).
extern "C" EMSCRIPTEN_KEEPALIVE double quoravint_camera_angle()
{
    const SCENE* scene = running_scene();
    return scene ? scene->camangle : 0.0;
}

// The camera height of the running scene, in pixels (0 when none runs).
extern "C" EMSCRIPTEN_KEEPALIVE double quoravint_camera_height()
{
    const SCENE* scene = running_scene();
    return scene ? scene->camy : 0.0;
}

// Runs `ticks` logic ticks and draws the last, whatever the clock says: a held show (?pause) moves
// on only this way, so tests can compare the same ticks with and without keys.
extern "C" EMSCRIPTEN_KEEPALIVE void quoravint_step(int ticks)
{
    hold_tick_input(keys_held());   // the keys the page pressed since the last pass
    run_to_tick(sceneswarm.showticks + ticks);
    do_gfx();
}

// Draws the current frame again and reads it back: RGBA rows, bottom row first, of the whole canvas.
extern "C" EMSCRIPTEN_KEEPALIVE unsigned char* quoravint_grab_frame(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    grabbed.resize(static_cast<size_t>(width) * height * RGBA_BYTES);
    draw_frame();
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, grabbed.data());
    return grabbed.data();
}

// The canvas was resized to `width` x `height` pixels: the show's picture is fitted into it. Resizing
// clears the canvas, so a held frame is drawn again (a running show draws its next one anyway).
extern "C" EMSCRIPTEN_KEEPALIVE void quoravint_viewport(int width, int height)
{
    apply_frame_fit(fit_frame(width, height));
    if (holding && first_frame_tick < 0)
        draw_frame();
}

// Draws later frames the fast way (`fast` 1) or the reference way (0): the page's tests compare them.
extern "C" EMSCRIPTEN_KEEPALIVE void quoravint_draw_fast(int fast)
{
    set_draw_path(fast ? DrawPath::FAST : DrawPath::REFERENCE);
}

// Frames the fast path put from its kept backdrop rather than drew: the page's tests see the copy at work.
extern "C" EMSCRIPTEN_KEEPALIVE long quoravint_backdrops_put()
{
    return draw_savings().backdrops_put;
}

// Silences the sound once the show has ended.
extern "C" EMSCRIPTEN_KEEPALIVE void quoravint_stop_sound()
{
    mixer_hold(true);
}

// The visitor's pause (`held` 1) or resume (0): time and sound stop where they are and go on from
// there, the time away not caught up.
extern "C" EMSCRIPTEN_KEEPALIVE void quoravint_hold(int held)
{
    hold_show(held != 0);
}

// Mutes (`muted` 1) or unmutes (0) the sound; the show plays on either way.
extern "C" EMSCRIPTEN_KEEPALIVE void quoravint_mute(int muted)
{
    mixer_mute(muted != 0);
}

// The ticks still to run before the first frame is drawn; 0 once it is.
extern "C" EMSCRIPTEN_KEEPALIVE long quoravint_ticks_to_first_frame()
{
    return first_frame_tick < 0 ? 0 : first_frame_tick - sceneswarm.showticks + 1;
}

// The show's start-up and main loop, as the page's options ask.
int main()
{
    const PageOptions options = read_page_options();
    tell_host_at_show_end(page_show_ended);
    init();
    if (options.seeded)
        seed_show_random(options.seed);
    hold_show(options.pause);   // ?pause holds the song as well as the picture, until the visitor resumes
    trace_wanted = options.trace;
    trace_on(false);
    first_frame_tick = options.start_tick;
    emscripten_set_main_loop(main_loop_pass, BROWSER_PACES_FRAMES, NEVER_RETURNS);
}
