#include "common.h"

#include "host_services.h"
#include "trace.h"

#include <cstdlib>

// Draws a 15-bit random value: the range the show's random choices are written for.
int rand15()
{
    return show_rand() % RAND_RANGE;
}

// Returns a random signed magnitude of at least 1, magnitude drawn first, then the sign.
float randir(float divisor)
{
    const int magnitude = rand15();
    float v = static_cast<float>(static_cast<long double>(magnitude) / divisor + 1);
    if (show_rand() & 1)
        v = -v;
    trace() << "RAND" << v;
    return v;
}
