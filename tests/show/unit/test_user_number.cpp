// The one reader of the numbers people type, row by row: what it takes, caps and refuses.
#include "user_number.h"

#include <gtest/gtest.h>

namespace {

constexpr NumberLimit REFUSING = {5, 1000, Beyond::REFUSE};
constexpr NumberLimit CAPPING = {0, 1000, Beyond::CAP};
constexpr NumberLimit WIDEST = {0, LLONG_MAX, Beyond::REFUSE};

TEST(UserNumber, EachTextIsTakenCappedOrRefusedForItsReason)
{
    const struct {
        const char* text;
        NumberLimit limit;
        Reading reading;
        long long value;   // when taken or capped
    } rows[] = {
        {"5", REFUSING, Reading::TAKEN, 5},
        {"1000", REFUSING, Reading::TAKEN, 1000},
        {"0007", REFUSING, Reading::TAKEN, 7},
        {"4", REFUSING, Reading::TOO_SMALL, 0},
        {"1001", REFUSING, Reading::TOO_LARGE, 0},
        {"1001", CAPPING, Reading::CAPPED, 1000},
        {"4294967296", CAPPING, Reading::CAPPED, 1000},                // beyond 32 bits
        {"99999999999999999999999", CAPPING, Reading::CAPPED, 1000},   // beyond 64 bits
        {"99999999999999999999999", REFUSING, Reading::TOO_LARGE, 0},
        {"9223372036854775807", WIDEST, Reading::TAKEN, LLONG_MAX},
        {"0", CAPPING, Reading::TAKEN, 0},
        {"", CAPPING, Reading::NOT_A_NUMBER, 0},
        {"-1", CAPPING, Reading::NOT_A_NUMBER, 0},
        {"+5", CAPPING, Reading::NOT_A_NUMBER, 0},
        {" 5", CAPPING, Reading::NOT_A_NUMBER, 0},
        {"5 ", CAPPING, Reading::NOT_A_NUMBER, 0},
        {"12.5", CAPPING, Reading::NOT_A_NUMBER, 0},
        {"0x10", CAPPING, Reading::NOT_A_NUMBER, 0},
        {"1e3", CAPPING, Reading::NOT_A_NUMBER, 0},
        {"ten", CAPPING, Reading::NOT_A_NUMBER, 0},
        {"\xd9\xa3", CAPPING, Reading::NOT_A_NUMBER, 0},   // an Arabic-Indic three is no digit here
    };
    for (const auto& row : rows) {
        const NumberRead read = read_whole_number(row.text, row.limit);
        EXPECT_EQ(read.reading, row.reading) << '"' << row.text << '"';
        EXPECT_EQ(read.usable(), row.reading == Reading::TAKEN || row.reading == Reading::CAPPED) << row.text;
        if (read.usable()) {
            EXPECT_EQ(read.value, row.value) << row.text;
        }
    }
}

TEST(UserNumber, RangesAreWrittenAsPeopleTypeThem)
{
    EXPECT_EQ(range_text(REFUSING), "from 5 to 1000");
    EXPECT_EQ(range_text(limits::SEED), "from 0 to 4294967295");
}

TEST(UserNumber, TheLongestCaptureFromTheFurthestStartEndsWithinTheTickCounter)
{
    EXPECT_EQ(limits::START_TICK.most + limits::LENGTH_TICKS.most, INT_MAX) << "a capture ends within the int tick counter";
}

}  // namespace
