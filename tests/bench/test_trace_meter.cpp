// Counting the trace: bytes and lines that the trace writes, and the trace given back afterwards.
#include "trace_meter.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace {

constexpr int LONG_RUN = 10000;   // writes of one trace: many times the meter's block

TEST(TraceMeter, CountsBytesAndLineEndsOfEveryKindOfWrite)
{
    MeteredTrace meter;
    trace() << "SOCK " << 12 << ' ' << 0.5f << std::endl;   // "SOCK 12 0.5\n"
    trace() << "logic " << std::flush;
    trace().put('\n');
    EXPECT_EQ(meter.bytes(), 12 + 6 + 1);
    EXPECT_EQ(meter.lines(), 2);
}

TEST(TraceMeter, CountsPastItsBlockWithoutLosingAnything)
{
    MeteredTrace meter;
    const std::string line = "ADD (1.2,1000)\n";
    for (int i = 0; i < LONG_RUN; ++i)
        trace() << line;
    trace() << std::string(LONG_RUN, 'x');   // one write larger than the block
    EXPECT_EQ(meter.bytes(), static_cast<long long>(line.size()) * LONG_RUN + LONG_RUN);
    EXPECT_EQ(meter.lines(), LONG_RUN);
}

TEST(TraceMeter, GivesTheTraceBackAndNestsWithCapture)
{
    TraceCapture capture;
    {
        MeteredTrace meter;
        trace() << "hidden\n";
        EXPECT_EQ(meter.lines(), 1);
    }
    trace() << "seen";
    EXPECT_EQ(capture.text(), "seen");
}

}
