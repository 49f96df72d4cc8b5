// The show's random numbers. Every choice of the show draws from one generator of its own: glibc's
// rand(), the additive feedback generator of random(3) with its default 31-word state, so a seed
// gives the same show on every host (the browser's C library, musl, has another generator).
#ifndef SHOW_RANDOM_H
#define SHOW_RANDOM_H

#include <cstdint>

// glibc's rand() and srand(), value for value.
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

// The show's next random number, from 0 to 2147483647.
int show_rand();

// Seeds the show's generator; before any seed it draws what seed 1 draws.
void seed_show_random(unsigned seed);

#endif
