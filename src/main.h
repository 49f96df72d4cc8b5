// The program's entry, start-up sequence and fixed-rate main loop.
#ifndef MAIN_H
#define MAIN_H

#include "driver.h"

// Seeds the random generator when it is constructed, during static initialisation.
class RANDOMISE {
public:
    RANDOMISE();
};

extern RANDOMISE randomise;

// Runs the start-up sequence: seed, video, sound, names.
void init();

// The start tick QUORAVINT_START_TICK asks for (its value `setting`, or null): 0 when unset or bad,
// a bad value named on standard error.
long start_tick_setting(const char* setting);

// Ends the program on an Escape key press or a quit request; other events are dropped.
void drain_events();

// The arrow keys SDL holds down, as the ticks read them.
TickInput keys_held();

// The program entry: start-up, then the endless loop. Ends only through exit().
int show_main(int argc, char** argv);

#endif
