// Which SDL video driver means there is no display: a fallback that shows nothing, which SDL 2 takes
// by itself without one, never a driver the user named.
#include "screen.h"

#include <gtest/gtest.h>

namespace {

TEST(VideoDriver, OnlyAFallbackThatShowsNothingMeansNoDisplay)
{
    const struct {
        const char* driver;   // SDL's answer, null before its video starts
        const char* chosen;   // SDL_VIDEODRIVER, null when unset
        bool unseen;
    } cases[] = {
        {"offscreen", nullptr, true},    {"dummy", nullptr, true},       {"offscreen", "", true},
        {"x11", nullptr, false},         {"wayland", nullptr, false},    {"kmsdrm", nullptr, false},
        {"offscreen", "offscreen", false}, {"dummy", "x11,dummy", false}, {"offscreen2", nullptr, false},
        {nullptr, nullptr, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(video_driver_unseen(c.driver, c.chosen), c.unseen)
            << (c.driver ? c.driver : "(none)") << " with SDL_VIDEODRIVER=" << (c.chosen ? c.chosen : "(unset)");
}

}  // namespace
