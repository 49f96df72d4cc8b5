#include "glibc_random.h"

#include "host_services.h"

constexpr int32_t LCG_MULTIPLIER = 16807;      // the seeding step: 16807 * word mod (2^31 - 1),
constexpr int32_t LCG_MODULUS = 2147483647;    // computed by Schrage's method so nothing overflows
constexpr int32_t LCG_QUOTIENT = 127773;       // modulus / multiplier
constexpr int32_t LCG_REMAINDER = 2836;        // modulus % multiplier
constexpr int WARM_UP_ROUNDS = 10;             // glibc discards 10 times the state's size after seeding

GlibcRandom::GlibcRandom()
{
    seed(1);
}

void GlibcRandom::seed(unsigned value)
{
    int32_t word = static_cast<int32_t>(value == 0 ? 1 : value);
    state[0] = word;
    for (int i = 1; i < DEGREE; ++i) {
        const int32_t hi = word / LCG_QUOTIENT;
        const int32_t lo = word % LCG_QUOTIENT;
        word = LCG_MULTIPLIER * lo - LCG_REMAINDER * hi;
        if (word < 0)
            word += LCG_MODULUS;
        state[i] = word;
    }
    front = SEPARATION;
    rear = 0;
    for (int i = 0; i < WARM_UP_ROUNDS * DEGREE; ++i)
        next();
}

int GlibcRandom::next()
{
    const uint32_t sum = static_cast<uint32_t>(state[front]) + static_cast<uint32_t>(state[rear]);
    state[front] = static_cast<int32_t>(sum);
    front = (front + 1) % DEGREE;
    rear = (rear + 1) % DEGREE;
    return static_cast<int>(sum >> 1);   // the lowest bit is the least random: glibc drops it
}

// The one generator, made on first use: the scenes draw from it during static initialisation.
static GlibcRandom& show_generator()
{
    static GlibcRandom generator;
    return generator;
}

int show_rand()
{
    return show_generator().next();
}

void seed_show_random(unsigned seed)
{
    show_generator().seed(seed);
}
