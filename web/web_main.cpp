// The show's entry in a web page. The page calls main once the assets are in place and the
// visitor has asked for the show (browsers start sound only after a gesture). Start-up is the
// show's own init(); then the browser calls one pass of the main loop per animation frame, with
// the same clock arithmetic as natively and no sleep (the browser paces the frames).
#include "page_options.h"
#include "web_mixer.h"

#include "gfx.h"
#include "main.h"
#include "scene.h"
#include "sceneswarm.h"
#include "trace.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <emscripten.h>

#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

constexpr int RGBA_BYTES = 4;             // bytes of one grabbed pixel
constexpr int BROWSER_PACES_FRAMES = 0;   // emscripten_set_main_loop: one pass per animation frame
constexpr int NEVER_RETURNS = 1;          // emscripten_set_main_loop: main ends here, as natively it never returns

MAINCLOCK show_clock;                 // the main loop's clock, carried from pass to pass
bool holding = false;                 // ?pause: the first frame stays on the screen
std::vector<unsigned char> grabbed;   // the last frame grabbed for the page

// The query part of the page's address.
EM_JS(char*, page_query, (), { return allocateUTF8(location.search); });

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
    send_trace_to(on ? first_trace_buffer() : nullptr);
}

// Runs the ticks before `start_tick` undrawn and without trace, their sound mixed and dropped, then the
// first tick of the capture and its frame: the frame demo-capture --start writes first.
void start_like_capture(long start_tick)
{
    trace_on(false);
    run_to_tick(start_tick, [](long tick) {
        mixer_skip_tick(tick);
        return true;
    });
    do_logic();
    do_gfx();
    show_clock.lastFrameTime = static_cast<double>(SDL_GetTicks());
    show_clock.tickran = false;
}

// One pass of the main loop: events (Escape ends the show), then ticks and a frame as time asks.
void main_loop_pass()
{
    drain_events();
    if (holding)
        return;
    if (main_pass(show_clock, static_cast<double>(SDL_GetTicks())))
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

// The canvas was resized to `width` x `height` pixels: the show's picture fills it.
extern "C" EMSCRIPTEN_KEEPALIVE void quoravint_viewport(int width, int height)
{
    glViewport(0, 0, width, height);
}

// Silences the sound once the show has ended.
extern "C" EMSCRIPTEN_KEEPALIVE void quoravint_stop_sound()
{
    SDL_PauseAudio(1);
}

// The show's start-up and main loop, as the page's options ask.
int main()
{
    const PageOptions options = read_page_options();
    init();
    if (options.seeded)
        std::srand(options.seed);
    if (options.start_tick > 0 || options.seeded || options.pause)
        start_like_capture(options.start_tick);
    holding = options.pause;
    trace_on(options.trace);
    emscripten_set_main_loop(main_loop_pass, BROWSER_PACES_FRAMES, NEVER_RETURNS);
}
