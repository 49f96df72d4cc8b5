// QUORAVINT_DRAW: which drawing path its values choose and what the user is told.
#include "drawpath.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Chooses the path for `setting` and returns what was written to standard error.
std::string choose(const char* setting)
{
    ErrorCapture errors;
    choose_draw_path(setting);
    return errors.text();
}

TEST(DrawSetting, ReferenceIsChosenAndAcknowledged)
{
    EXPECT_EQ(choose("reference"), "QUORAVINT_DRAW=reference: drawing every frame the reference way\n");
    EXPECT_EQ(draw_path(), DrawPath::REFERENCE);
    set_draw_path(DrawPath::FAST);
}

TEST(DrawSetting, FastOrNothingChoosesTheFastPathSilently)
{
    for (const char* setting : {"fast", "", static_cast<const char*>(nullptr)}) {
        set_draw_path(DrawPath::REFERENCE);
        EXPECT_EQ(choose(setting), "");
        EXPECT_EQ(draw_path(), DrawPath::FAST);
    }
}

TEST(DrawSetting, AnyOtherValueIsNamedInOneLineAndDrawsFast)
{
    for (const char* setting : {"Reference", "sideways", "reference "}) {
        set_draw_path(DrawPath::REFERENCE);
        EXPECT_EQ(choose(setting), std::string("QUORAVINT_DRAW=") + setting +
                                       " is neither \"reference\" nor \"fast\": drawing the fast way\n");
        EXPECT_EQ(draw_path(), DrawPath::FAST);
    }
}

}
