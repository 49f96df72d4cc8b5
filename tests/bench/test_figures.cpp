// The benchmarks' order statistics and memory readings.
#include "figures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

constexpr std::size_t HUNDRED = 100;                 // samples 1..100: percentiles equal their rank
constexpr long ALLOCATION_KIB = 64 * 1024;           // memory touched to move the resident set
constexpr long RESIDENT_SLACK_KIB = 16 * 1024;       // pages the allocator or kernel may hold back

TEST(Summarise, NearestRankOfOneToHundredInAnyOrder)
{
    std::vector<double> samples(HUNDRED);
    std::iota(samples.begin(), samples.end(), 1.0);
    std::shuffle(samples.begin(), samples.end(), std::mt19937(7));
    const Summary s = summarise(samples);
    EXPECT_EQ(s.count, HUNDRED);
    EXPECT_EQ(s.median, 50.0);
    EXPECT_EQ(s.p99, 99.0);
    EXPECT_EQ(s.max, 100.0);
}

TEST(Summarise, SmallAndEmptySets)
{
    const Summary none = summarise({});
    EXPECT_EQ(none.count, 0u);
    EXPECT_EQ(none.max, 0.0);

    const Summary one = summarise({4.5});
    EXPECT_EQ(one.median, 4.5);
    EXPECT_EQ(one.p99, 4.5);

    // With fewer than a hundred samples the 99th percentile is the largest one.
    const Summary three = summarise({3.0, 1.0, 2.0});
    EXPECT_EQ(three.median, 2.0);
    EXPECT_EQ(three.p99, 3.0);
}

TEST(Memory, ResidentSetFollowsTouchedMemory)
{
    const long before = resident_kib();
    ASSERT_GT(before, 0);
    std::vector<char> block(static_cast<std::size_t>(ALLOCATION_KIB) * 1024, 1);
    const long during = resident_kib();
    EXPECT_GE(during, before + ALLOCATION_KIB - RESIDENT_SLACK_KIB);
    EXPECT_GE(peak_rss_kib() + RESIDENT_SLACK_KIB, during);   // the peak is sampled by the kernel, a little late
    EXPECT_EQ(std::count(block.begin(), block.end(), 1), static_cast<long>(block.size()));
}

}
