// Shared helpers of the show: the random signed magnitude.
#ifndef COMMON_H
#define COMMON_H

constexpr int RAND_RANGE = 32768;   // the show's random draws are 15-bit values, 0 to 32767

// Draws a 15-bit random value (0..32767), whatever the C library's own range.
int rand15();

// Returns a random value of magnitude r / divisor + 1 (at least 1) and random sign,
// drawing the magnitude first, then the sign; traces "RAND" and the value.
float randir(float divisor);

#endif
