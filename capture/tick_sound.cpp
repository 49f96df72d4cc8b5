#include "tick_sound.h"

#include "capture_options.h"

long first_sample_frame_of_tick(long tick, int rate)
{
    return static_cast<long>(static_cast<long long>(tick) * rate / TICKS_PER_SECOND);
}

int sample_frames_for_tick(long tick, int rate)
{
    return static_cast<int>(first_sample_frame_of_tick(tick + 1, rate) - first_sample_frame_of_tick(tick, rate));
}
