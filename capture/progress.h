// What the capture tells the person waiting: a progress bar while it runs, its speed at the end.
#ifndef PROGRESS_H
#define PROGRESS_H

#include <string>

// Show time at the start of tick `tick`, as minutes, seconds and hundredths: "4:10.00".
std::string show_time(long tick);

// One progress line: a bar, frames done of the total, the show time reached and the speed.
std::string progress_line(long done, long total, long tick, double frames_per_second);

// The closing line: frames captured from `first_tick` on in `seconds`, the show time they cover, and
// the speed in frames per second (also as a share of real time); the ticks before `first_tick`
// ran undrawn in `skip_seconds`.
std::string speed_summary(long frames, long first_tick, double seconds, double skip_seconds);

#endif
