// Counting the trace: bytes and lines that reach std::cout, and cout given back afterwards.
#include "trace_meter.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace {

constexpr int LONG_RUN = 10000;   // writes of one trace: many times the meter's block

TEST(TraceMeter, CountsBytesAndLineEndsOfEveryKindOfWrite)
{
    MeteredTrace trace;
    std::cout << "SOCK " << 12 << ' ' << 0.5f << std::endl;   // "SOCK 12 0.5\n"
    std::cout << "logic " << std::flush;
    std::cout.put('\n');
    EXPECT_EQ(trace.bytes(), 12 + 6 + 1);
    EXPECT_EQ(trace.lines(), 2);
}

TEST(TraceMeter, CountsPastItsBlockWithoutLosingAnything)
{
    MeteredTrace trace;
    const std::string line = "ADD (1.2,1000)\n";
    for (int i = 0; i < LONG_RUN; ++i)
        std::cout << line;
    std::cout << std::string(LONG_RUN, 'x');   // one write larger than the block
    EXPECT_EQ(trace.bytes(), static_cast<long long>(line.size()) * LONG_RUN + LONG_RUN);
    EXPECT_EQ(trace.lines(), LONG_RUN);
}

TEST(TraceMeter, GivesCoutBackAndNestsWithCapture)
{
    TraceCapture capture;
    {
        MeteredTrace trace;
        std::cout << "hidden\n";
        EXPECT_EQ(trace.lines(), 1);
    }
    std::cout << "seen";
    EXPECT_EQ(capture.text(), "seen");
}

}
