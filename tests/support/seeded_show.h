// A test fixture of the drawing tests: a show of its own, built from a seeded generator in the
// show's window, driven tick by tick.
#ifndef SEEDED_SHOW_H
#define SEEDED_SHOW_H

#include "driver.h"
#include "file.h"
#include "glsupport.h"
#include "host_services.h"
#include "sceneswarm.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

class SeededShow : public ::testing::Test {
protected:
    std::unique_ptr<SCENESWARM> show;

    // Opens the show's window once and reads the names the sky boats carry.
    static void SetUpTestSuite()
    {
        open_show_window();
        TraceSilencer quiet;
        if (text().lines.empty())
            init_text();
    }
    // Builds both scenes afresh from the generator seeded with `seed`.
    void build_show(unsigned seed)
    {
        TraceSilencer quiet;
        seed_show_random(seed);
        show.reset(new SCENESWARM());
    }
    // Runs the show's tick until `showticks` reaches `end`.
    void run_until(int end)
    {
        TraceSilencer quiet;
        run_to_tick(end, nullptr, *show);
    }
};

#endif
