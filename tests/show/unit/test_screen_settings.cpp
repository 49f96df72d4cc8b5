// The screen's settings read together: which request each combination makes and every problem it names.
#include "screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ScreenSettings, EachCombinationMakesItsRequestAndNamesEveryBadValue)
{
    const struct {
        const char* window;      // QUORAVINT_WINDOW
        const char* fit;         // QUORAVINT_FIT
        const char* window_id;   // SDL_WINDOWID
        ScreenMode mode;
        int w, h;                                // in WINDOW mode
        std::vector<std::string> problem_starts;   // the beginning of each line said, in order
    } rows[] = {
        {nullptr, nullptr, nullptr, ScreenMode::PROFILE, 0, 0, {}},
        {"", "", "", ScreenMode::PROFILE, 0, 0, {}},
        {"800x600", nullptr, nullptr, ScreenMode::WINDOW, 800, 600, {}},
        {"200X150", nullptr, nullptr, ScreenMode::WINDOW, 200, 150, {}},
        {"3840x2160", nullptr, nullptr, ScreenMode::WINDOW, 3840, 2160, {}},
        {nullptr, "1", nullptr, ScreenMode::FIT, 0, 0, {}},
        {nullptr, "0", nullptr, ScreenMode::PROFILE, 0, 0, {}},
        {nullptr, nullptr, "0x1a00007", ScreenMode::GIVEN_WINDOW, 0, 0, {}},
        {nullptr, nullptr, "41943047", ScreenMode::GIVEN_WINDOW, 0, 0, {}},
        // Whoever made a window wants it used; a window size comes before the desktop's.
        {"800x600", "1", "0x1a00007", ScreenMode::GIVEN_WINDOW, 0, 0, {}},
        {"800x600", "1", nullptr, ScreenMode::WINDOW, 800, 600, {}},
        // Bad values, each named, the next setting honoured.
        {"0x0", nullptr, nullptr, ScreenMode::PROFILE, 0, 0, {"QUORAVINT_WINDOW=0x0 is not a window size from 200x150 to 3840x2160"}},
        {"199x150", nullptr, nullptr, ScreenMode::PROFILE, 0, 0, {"QUORAVINT_WINDOW=199x150 is not"}},
        {"3841x600", nullptr, nullptr, ScreenMode::PROFILE, 0, 0, {"QUORAVINT_WINDOW=3841x600 is not"}},
        {"800x600x2", nullptr, nullptr, ScreenMode::PROFILE, 0, 0, {"QUORAVINT_WINDOW=800x600x2 is not"}},
        {"-800x600", nullptr, nullptr, ScreenMode::PROFILE, 0, 0, {"QUORAVINT_WINDOW=-800x600 is not"}},
        {"800", "1", nullptr, ScreenMode::FIT, 0, 0, {"QUORAVINT_WINDOW=800 is not"}},
        {"99999999999999999999x600", nullptr, nullptr, ScreenMode::PROFILE, 0, 0, {"QUORAVINT_WINDOW=9999"}},
        {nullptr, "yes", nullptr, ScreenMode::PROFILE, 0, 0, {"QUORAVINT_FIT=yes is neither 1 nor 0"}},
        {nullptr, nullptr, "garbage", ScreenMode::PROFILE, 0, 0, {"SDL_WINDOWID=garbage is not a window id: ignoring it"}},
        {nullptr, nullptr, "0", ScreenMode::PROFILE, 0, 0, {"SDL_WINDOWID=0 is not a window id"}},
        {nullptr, nullptr, "-5", ScreenMode::PROFILE, 0, 0, {"SDL_WINDOWID=-5 is not a window id"}},
        {nullptr, nullptr, "0x20000000", ScreenMode::PROFILE, 0, 0, {"SDL_WINDOWID=0x20000000 is not"}},   // beyond 29 bits
        {nullptr, nullptr, "99999999999999999999999", ScreenMode::PROFILE, 0, 0, {"SDL_WINDOWID=9999"}},
        {"640x480", nullptr, "garbage", ScreenMode::WINDOW, 640, 480, {"SDL_WINDOWID=garbage is not"}},
        // Every problem is kept, not only the last.
        {"0x0", "2", "garbage", ScreenMode::PROFILE, 0, 0,
         {"SDL_WINDOWID=garbage is not", "QUORAVINT_WINDOW=0x0 is not", "QUORAVINT_FIT=2 is neither"}},
    };
    for (const auto& row : rows) {
        const std::string label = std::string(row.window ? row.window : "-") + " " + (row.fit ? row.fit : "-") +
                                  " " + (row.window_id ? row.window_id : "-");
        std::vector<std::string> problems;
        const ScreenRequest asked = screen_request(row.window, row.fit, row.window_id, problems);
        EXPECT_EQ(asked.mode, row.mode) << label;
        if (row.mode == ScreenMode::WINDOW) {
            EXPECT_EQ(asked.w, row.w) << label;
            EXPECT_EQ(asked.h, row.h) << label;
        }
        ASSERT_EQ(problems.size(), row.problem_starts.size()) << label;
        for (size_t i = 0; i < problems.size(); ++i)
            EXPECT_EQ(problems[i].rfind(row.problem_starts[i], 0), 0u) << label << ": " << problems[i];
    }
}

}  // namespace
