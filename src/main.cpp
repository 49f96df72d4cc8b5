#include "main.h"

#include "file.h"
#include "gfx.h"
#include "host_services.h"
#include "sceneswarm.h"
#include "screen.h"
#include "settings.h"
#include "show_end.h"
#include "sound.h"
#include "trace.h"
#include "user_number.h"

#include <SDL/SDL.h>
#include <cstdlib>
#include <ctime>
#include <iostream>

// Whether Escape has been held down since before the show took the keyboard: its presses then are
// the X server's repeats of a key pressed elsewhere, not the user's. Classic SDL asks the server for
// the keys held when its window gains the focus and drops those repeats; SDL 2 (under sdl12-compat)
// does not, and takes the first repeat for a press.
static bool escape_held_before = false;

// Seeded after the scene swarm is built (see sceneswarm.cpp), so the scenes' layout
// comes from the generator's unseeded state and is the same in every run.
RANDOMISE randomise __attribute__((init_priority(1200)));

// Seeds the generator with the time of day.
RANDOMISE::RANDOMISE()
{
    seed_show_random(static_cast<unsigned>(std::time(nullptr)));
}

// The start-up sequence; a show without a window ends at once with status 1.
void init()
{
    seed_show_random(static_cast<unsigned>(std::time(nullptr)));
    if (!init_sdl()) {
        // A full-screen show without a window can be neither seen nor stopped.
        trace() << "VIDEO ERROR: " << SDL_GetError() << std::endl;
        end_show(1);
    }
    init_sound();
    init_text();
    escape_held_before = escape_held_on_display();
    trace() << "Init complete." << std::endl;
}

// The show tick QUORAVINT_START_TICK names, for measuring later moments of the show; 0 when it is
// unset, and 0 with a one-line reason on standard error when it is not a start tick.
long start_tick_setting(const char* setting)
{
    if (!setting || !*setting)
        return 0;
    const NumberRead tick = read_whole_number(setting, limits::START_TICK);
    if (!tick.usable()) {
        std::cerr << setting_given(Setting::START_TICK, setting) << " is not a show tick " << range_text(limits::START_TICK)
                  << ": starting at the beginning" << std::endl;
        return 0;
    }
    return static_cast<long>(tick.value);
}

// Ends the program on an Escape key press (not the repeats of one held since before the show had
// the keyboard) or a quit request and refits the frame to a resized window, the show's own or one it
// was handed; other events are dropped.
void drain_events()
{
    int w = 0, h = 0;
    if (given_window_resized(w, h) && !resize_show_screen(w, h)) {
        trace() << "VIDEO ERROR: " << SDL_GetError() << std::endl;
        end_show(1);
    }
    if (escape_held_before)
        escape_held_before = escape_held_on_display();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_VIDEORESIZE && !resize_show_screen(event.resize.w, event.resize.h)) {
            trace() << "VIDEO ERROR: " << SDL_GetError() << std::endl;
            end_show(1);
        }
        if (event.type == SDL_ACTIVEEVENT && event.active.gain && (event.active.state & SDL_APPINPUTFOCUS))
            escape_held_before = escape_held_on_display();
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE && !escape_held_before)
            end_show(0);
        if (event.type == SDL_QUIT)
            end_show(0);
    }
}

TickInput keys_held()
{
    const Uint8* keys = SDL_GetKeyState(nullptr);
    TickInput input;
    input.left = keys[SDLK_LEFT];
    input.right = keys[SDLK_RIGHT];
    input.up = keys[SDLK_UP];
    input.down = keys[SDLK_DOWN];
    return input;
}

// Starts the show and runs its loop until Escape or a quit request.
int show_main(int, char**)
{
    init();
    run_to_tick(start_tick_setting(setting_value(Setting::START_TICK)));
    MAINCLOCK clock;
    for (;;) {
        drain_events();
        hold_tick_input(keys_held());
        if (main_pass(clock, static_cast<double>(SDL_GetTicks())))
            do_gfx();
        SDL_Delay(IDLE_DELAY);
    }
}
