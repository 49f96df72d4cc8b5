#include "driver.h"

#include "sceneswarm.h"
#include "trace.h"

namespace {

TickInput held_input;   // what the host last handed over: no keys until it does

// The tick's mark in the trace, then the scenes.
void run_tick(SCENESWARM& show)
{
    trace() << "logic " << std::flush;
    show.process(held_input);
}

}  // namespace

void hold_tick_input(const TickInput& input)
{
    held_input = input;
}

// One tick of the show the programs run.
void do_logic()
{
    run_tick(sceneswarm);
}

// Tick after tick, the hook after each.
bool run_to_tick(long tick, const TickHook& after_tick, SCENESWARM& show)
{
    while (show.showticks < tick) {
        const long running = show.showticks;
        run_tick(show);
        if (after_tick && !after_tick(running))
            return show.showticks >= tick;
    }
    return true;
}

// Each tick traced with the time it was owed; a frame is drawn when a tick ran since the last.
bool main_pass(MAINCLOCK& clock, double now, void (*logic)())
{
    trace() << "CT: " << now << std::endl;
    spend_pass_time(now - clock.lastFrameTime, clock.cyclesLeftOver, [&](double owed) {
        trace() << owed << "," << std::flush << "-" << std::flush;
        logic();
        clock.tickran = true;
    });
    trace() << "-" << std::flush;
    clock.lastFrameTime = now;
    trace() << "-";
    const bool draw = clock.tickran;
    clock.tickran = false;
    return draw;
}
