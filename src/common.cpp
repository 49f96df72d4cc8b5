#include "common.h"

#include <cstdlib>
#include <iostream>

int rand15()
{
    return std::rand() % RAND_RANGE;
}

float randir(float divisor)
{
    const int magnitude = rand15();
    float v = static_cast<float>(static_cast<long double>(magnitude) / divisor + 1);
    if (std::rand() & 1)
        v = -v;
    std::cout << "RAND" << v;
    return v;
}
