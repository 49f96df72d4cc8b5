// The C library generator the native show draws from: glibc's rand(), the additive feedback
// generator of random(3) with its default 31-word state. The browser's C library (musl) has
// another generator, so the same seed would give another layout; the browser's show_rand
// (host_services.h) draws from this one.
#ifndef GLIBC_RANDOM_H
#define GLIBC_RANDOM_H

#include <cstdint>

class GlibcRandom {
public:
    // The state glibc starts with before any srand: the state of seed 1.
    GlibcRandom();

    // srand(seed): a seed of 0 counts as 1, as in glibc.
    void seed(unsigned value);

    // rand(): the next value, from 0 to 2147483647.
    int next();

private:
    static constexpr int DEGREE = 31;     // words of state (glibc's TYPE_3)
    static constexpr int SEPARATION = 3;  // distance between the two words added
    int32_t state[DEGREE];
    int front = SEPARATION;               // the word that receives the sum
    int rear = 0;                         // the word added to it
};

#endif
