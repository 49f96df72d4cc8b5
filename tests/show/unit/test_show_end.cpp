#include "show_end.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// A host's hook that says what it was told, where the test can read it.
void say_status(int status)
{
    std::fprintf(stderr, "host told %d\n", status);
}

// The show ends with the status it is given, telling the host first when one asked (the browser's end
// card) and nobody when none did (the programs).
TEST(ShowEnd, EndsWithItsStatusAfterTellingTheHost)
{
    struct Case {
        ShowEndHook hook;
        int status;
        const char* said;
    } cases[] = {{say_status, 0, "host told 0"}, {say_status, 1, "host told 1"}, {nullptr, 1, "^$"}};
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                tell_host_at_show_end(c.hook);
                end_show(c.status);
            },
            ::testing::ExitedWithCode(c.status), c.said);
    }
}

}  // namespace
