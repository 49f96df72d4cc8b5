// The program's entry, start-up sequence and fixed-rate main loop.
#ifndef MAIN_H
#define MAIN_H

#include "ticks.h"

// Seeds the random generator when it is constructed, during static initialisation.
class RANDOMISE {
public:
    RANDOMISE();
};

extern RANDOMISE randomise;

// The clock of the main loop: what one pass carries over to the next.
class MAINCLOCK {
public:
    double lastFrameTime = 0.0;   // SDL ms tick count of the previous pass
    double cyclesLeftOver = 0.0;  // ms of real time not yet consumed by logic ticks
    bool tickran = true;          // a tick ran since the last frame (true before the first pass)
};

// Turns the time `now` into logic ticks, calling `logic` once per tick; returns
// whether this pass draws a frame (a tick ran since the last frame).
bool main_pass(MAINCLOCK& clock, double now, void (*logic)());

// Runs the start-up sequence: seed, video, sound, names.
void init();

// The start tick QUORAVINT_START_TICK asks for (its value `setting`, or null): 0 when unset or bad,
// a bad value named on standard error.
long start_tick_setting(const char* setting);

// Runs logic ticks without drawing until the show tick reaches `tick`.
void run_logic_until(long tick);

// Runs one logic tick of the whole show.
void do_logic();

// Ends the program on an Escape key press or a quit request; other events are dropped.
void drain_events();

// The program entry: start-up, then the endless loop. Ends only through exit().
int SDL_main(int argc, char** argv);

#endif
