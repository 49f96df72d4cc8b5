// How the sound is cut into ticks: each tick owns the sample frames that fall into its 1/60 s.
#ifndef TICK_SOUND_H
#define TICK_SOUND_H

// Sample frames at `rate` Hz that belong to show tick `tick`: rate / 60 on average, the fraction
// carried, so that ticks 0 to n - 1 together always hold exactly floor(n * rate / 60).
int sample_frames_for_tick(long tick, int rate);

// The first sample frame of show tick `tick` in a track that starts at tick 0.
long first_sample_frame_of_tick(long tick, int rate);

#endif
