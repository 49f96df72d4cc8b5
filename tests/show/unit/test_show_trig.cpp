// The show's sine and cosine against this machine's glibc, which they reproduce: every
// argument of the camera bob over hours of show, and random arguments of every size range. glibc
// picks its FMA build on processors that have FMA, as every x86-64 machine this is built on does.
#include "show_trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr int BOB_TICKS = 2000000;   // 9 hours of scene ticks: sin(ticks / 10) of the camera bob
constexpr int RANDOM_DRAWS = 1000000;

// Skips a test on a processor without FMA, where glibc runs its other build, which rounds otherwise.
#define SKIP_WITHOUT_FMA()                                                                  \
    if (!__builtin_cpu_supports("fma"))                                                     \
    GTEST_SKIP() << "this processor has no FMA: glibc computes sinf and cosf another way here"

// Expects glibc's own sinf and cosf of x from the show's.
void expect_glibc(float x)
{
    ASSERT_EQ(show_sin(x), std::sin(x)) << std::hexfloat << "sin " << x;
    ASSERT_EQ(show_cos(x), std::cos(x)) << std::hexfloat << "cos " << x;
}

TEST(GlibcSincosf, EveryCameraBobArgumentGivesGlibcsValue)
{
    SKIP_WITHOUT_FMA();
    for (int ticks = 0; ticks < BOB_TICKS; ++ticks)
        expect_glibc(ticks / 10.0f);
}

TEST(GlibcSincosf, RandomArgumentsOfEveryRangeGiveGlibcsValues)
{
    SKIP_WITHOUT_FMA();
    std::mt19937 generator(1);
    // Below pi/4 (no reduction), below 120 (fast reduction), far beyond (exact reduction).
    for (float limit : {0.78f, 120.0f, 1.0e7f, 1.0e38f}) {
        std::uniform_real_distribution<float> draw(-limit, limit);
        for (int i = 0; i < RANDOM_DRAWS; ++i)
            expect_glibc(draw(generator));
    }
}

TEST(GlibcSincosf, TinyArgumentsAndNonNumbers)
{
    expect_glibc(0.0f);
    expect_glibc(-0.0f);
    expect_glibc(0x1p-20f);
    EXPECT_TRUE(std::isnan(show_sin(INFINITY)));
    EXPECT_TRUE(std::isnan(show_cos(-INFINITY)));
    EXPECT_TRUE(std::isnan(show_sin(NAN)));
}

}  // namespace
