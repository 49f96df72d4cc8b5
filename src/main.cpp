#include "main.h"

#include "gfx.h"
#include "file.h"
#include "sceneswarm.h"
#include "sound.h"

#include <SDL/SDL.h>
#include <cstdlib>
#include <ctime>
#include <iostream>

// Seeded after the scene swarm is built (see sceneswarm.cpp), so the scenes' layout
// comes from the generator's unseeded state and is the same in every run.
RANDOMISE randomise __attribute__((init_priority(1200)));

// Seeds the generator with the time of day.
RANDOMISE::RANDOMISE()
{
    std::srand(std::time(nullptr));
}

// The start-up sequence; a show without a window ends at once with status 1.
void init()
{
    std::srand(std::time(nullptr));
    if (!init_sdl()) {
        // A full-screen show without a window can be neither seen nor stopped.
        std::cout << "VIDEO ERROR: " << SDL_GetError() << std::endl;
        std::exit(1);
    }
    init_sound();
    init_text();
    std::cout << "Init complete." << std::endl;
}

// One logic tick of the whole show.
void do_logic()
{
    std::cout << "logic " << std::flush;
    sceneswarm.process();
}

// Turns the time since the last pass, plus what was carried, into at most three ticks.
bool main_pass(MAINCLOCK& clock, double now, void (*logic)())
{
    std::cout << "CT: " << now << std::endl;
    double elapsed = now - clock.lastFrameTime + clock.cyclesLeftOver;
    if (elapsed > CATCH_UP_LIMIT)
        elapsed = CATCH_UP_LIMIT;
    while (elapsed > TICK_LENGTH) {
        std::cout << elapsed << "," << std::flush;
        elapsed -= TICK_LENGTH;
        std::cout << "-" << std::flush;
        logic();
        clock.tickran = true;
    }
    std::cout << "-" << std::flush;
    clock.cyclesLeftOver = elapsed;
    clock.lastFrameTime = now;
    std::cout << "-";
    const bool draw = clock.tickran;
    clock.tickran = false;
    return draw;
}

// Ends the program on an Escape key press or a quit request; other events are dropped.
void drain_events()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)
            std::exit(0);
        if (event.type == SDL_QUIT)
            std::exit(0);
    }
}

// Starts the show and runs its loop until Escape or a quit request.
int SDL_main(int, char**)
{
    init();
    MAINCLOCK clock;
    for (;;) {
        drain_events();
        if (main_pass(clock, static_cast<double>(SDL_GetTicks()), do_logic))
            do_gfx();
        SDL_Delay(IDLE_DELAY);
    }
}
