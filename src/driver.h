// Driving the show: its logic tick, running to a later tick, and the main loop's pass. Every host
// (the programs, the capture, the browser, the benchmarks and the tests) drives the show this way.
//
// Starting at tick N: on every host the ticks before N run undrawn (run_to_tick(N)). The capture and
// the browser then run tick N and draw the show after it, and the browser's clock starts after that
// frame. The programs' main loop keeps its clock from start-up, as it always has, so their first
// frame shows the show after the ticks their first pass ran for the start-up's time: none to three.
#ifndef DRIVER_H
#define DRIVER_H

#include "tick_input.h"
#include "ticks.h"

#include <functional>

class SCENESWARM;
extern SCENESWARM sceneswarm;

// Called after each tick run_to_tick runs, with the number of that tick: mixes its sound, checks a
// stop flag, measures, or nothing. Returning false stops the run.
using TickHook = std::function<bool(long tick)>;

// The clock of the main loop: what one pass carries over to the next.
class MAINCLOCK {
public:
    double lastFrameTime = 0.0;   // SDL ms tick count of the previous pass
    double cyclesLeftOver = 0.0;  // ms of real time not yet consumed by logic ticks
    bool tickran = true;          // a tick ran since the last frame (true before the first pass)
};

// Hands over the input the ticks from now on read: the host reads its keys once a pass.
void hold_tick_input(const TickInput& input);

// Runs one logic tick of the whole show, with the input last handed over.
void do_logic();

// Runs ticks of `show` from its current tick until it reaches `tick` (that tick itself not run),
// `after_tick` after each; returns whether it got there, false when the hook stopped it. A long run
// may be made in slices, each call going on from where the last ended.
bool run_to_tick(long tick, const TickHook& after_tick = nullptr, SCENESWARM& show = sceneswarm);

// Turns the time `now` into logic ticks, calling `logic` once per tick; returns whether this pass
// draws a frame (a tick ran since the last frame).
bool main_pass(MAINCLOCK& clock, double now, void (*logic)() = do_logic);

// One pass of the main loop's clock: the time since the last pass plus what it carried, held to
// CATCH_UP_LIMIT, is spent in whole ticks, `on_tick(owed)` called for each with the time still
// owed before it. `carried` becomes what is left; returns the time the limit dropped.
template <typename OnTick>
double spend_pass_time(double since_last, double& carried, OnTick on_tick)
{
    double elapsed = since_last + carried;
    const double dropped = elapsed > CATCH_UP_LIMIT ? elapsed - CATCH_UP_LIMIT : 0.0;
    if (elapsed > CATCH_UP_LIMIT)
        elapsed = CATCH_UP_LIMIT;
    while (elapsed > TICK_LENGTH) {
        const double owed = elapsed;
        elapsed -= TICK_LENGTH;
        on_tick(owed);
    }
    carried = elapsed;
    return dropped;
}

#endif
