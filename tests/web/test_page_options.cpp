// The page address's options: the capture's start tick and seed, the trace, the held frame, and
// what happens to values that are not whole numbers.
#include "page_options.h"

#include <gtest/gtest.h>

namespace {

TEST(PageOptions, NoQueryMeansTheShowAsNatively)
{
    for (const char* query : {"", "?"}) {
        const PageOptions options = parse_page_options(query);
        EXPECT_FALSE(options.trace);
        EXPECT_FALSE(options.seeded);
        EXPECT_FALSE(options.pause);
        EXPECT_EQ(options.start_tick, 0);
        EXPECT_TRUE(options.problem.empty());
    }
}

TEST(PageOptions, StartSeedTraceAndPauseAreRead)
{
    const PageOptions options = parse_page_options("?start=600&seed=1&trace&pause");
    EXPECT_EQ(options.start_tick, 600);
    EXPECT_TRUE(options.seeded);
    EXPECT_EQ(options.seed, 1u);
    EXPECT_TRUE(options.trace);
    EXPECT_TRUE(options.pause);
    EXPECT_TRUE(options.problem.empty());
}

TEST(PageOptions, TheLeadingQuestionMarkIsOptionalAndOtherNamesAreTheirs)
{
    const PageOptions options = parse_page_options("hd&seed=4294967295&&trace=");
    EXPECT_TRUE(options.seeded);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_TRUE(options.trace);
    EXPECT_TRUE(options.problem.empty());
}

TEST(PageOptions, BadNumbersAreIgnoredAndNamed)
{
    const PageOptions options = parse_page_options("?start=-5&seed=abc&trace");
    EXPECT_EQ(options.start_tick, 0);
    EXPECT_FALSE(options.seeded);
    EXPECT_TRUE(options.trace);
    EXPECT_NE(options.problem.find("start=-5"), std::string::npos);
    EXPECT_NE(options.problem.find("seed=abc"), std::string::npos);
}

TEST(PageOptions, SeedsBeyondTheirRangeAndWordsAreIgnored)
{
    const PageOptions options = parse_page_options("?seed=4294967296");
    EXPECT_FALSE(options.seeded);
    EXPECT_FALSE(options.problem.empty());
    EXPECT_FALSE(parse_page_options("?start=").problem.empty());
    EXPECT_FALSE(parse_page_options("?start=12x").problem.empty());
}

TEST(PageOptions, AFarStartIsBroughtDownToAnHourAndSaidSo)
{
    const struct {
        const char* query;
        long start;
        bool said;
    } cases[] = {{"?start=216000", 216000, false},
                 {"?start=216001", 216000, true},
                 {"?start=5184000", 216000, true},
                 // Beyond 32 and 64 bits: still a whole number, so capped like the rest.
                 {"?start=4294967296", 216000, true},
                 {"?start=99999999999999999999999", 216000, true}};
    for (const auto& c : cases) {
        const PageOptions options = parse_page_options(c.query);
        EXPECT_EQ(options.start_tick, c.start) << c.query;
        EXPECT_EQ(options.problem.find("beyond an hour") != std::string::npos, c.said) << c.query;
    }
}

}  // namespace
