// The web build's generator against this machine's own glibc rand(), which the native show uses:
// the same values for the unseeded state, for seed 0 and for seeds of every size.
#include "glibc_random.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int DRAWS = 2000;   // well past the state's 31 words, so every word has been renewed many times

// Whether GlibcRandom seeded with `seed` draws what glibc's rand() draws after srand(seed).
void expect_same_as_glibc(GlibcRandom& random, unsigned seed)
{
    std::srand(seed);
    for (int i = 0; i < DRAWS; ++i)
        ASSERT_EQ(random.next(), std::rand()) << "seed " << seed << ", draw " << i;
}

TEST(GlibcRandom, UnseededDrawsWhatGlibcDrawsForSeedOne)
{
    GlibcRandom random;
    expect_same_as_glibc(random, 1);
}

TEST(GlibcRandom, SeededDrawsWhatGlibcDraws)
{
    for (unsigned seed : {0u, 1u, 2u, 600u, 1765000000u, 2147483647u, 2147483648u, 4294967295u}) {
        GlibcRandom random;
        random.seed(seed);
        expect_same_as_glibc(random, seed);
    }
}

TEST(GlibcRandom, ReseedingStartsTheSequenceAgain)
{
    GlibcRandom random;
    random.seed(7);
    const int first = random.next();
    random.next();
    random.seed(7);
    EXPECT_EQ(random.next(), first);
}

}  // namespace
