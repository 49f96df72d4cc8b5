// The show's clock, for every host that drives it: the tick rate, how one pass of the main loop
// turns time into ticks, and how a sound track is cut into ticks.
#ifndef TICKS_H
#define TICKS_H

constexpr int TICKS_PER_SECOND = 60;                         // the show's logic rate: one tick per 1/60 s
constexpr double TICK_LENGTH = 1000.0 / TICKS_PER_SECOND;    // ms of one logic tick
constexpr double CATCH_UP_LIMIT = 4 * TICK_LENGTH;           // ms one pass may account for: four tick lengths
constexpr int IDLE_DELAY = 1;                                // ms slept at the end of every pass so the loop never spins

// The first sample frame, at `rate` Hz, of show tick `tick` in a track that starts at tick 0.
inline long first_sample_frame_of_tick(long tick, int rate)
{
    return static_cast<long>(static_cast<long long>(tick) * rate / TICKS_PER_SECOND);
}

// Sample frames at `rate` Hz that belong to show tick `tick`: rate / 60 on average, the fraction
// carried, so that ticks 0 to n - 1 together always hold exactly floor(n * rate / 60).
inline int sample_frames_for_tick(long tick, int rate)
{
    return static_cast<int>(first_sample_frame_of_tick(tick + 1, rate) - first_sample_frame_of_tick(tick, rate));
}

#endif
