// The pure geometry of the screen: where the profile's frame is fitted into a drawable, and where a
// placed quad lands, both ways. Expectations follow from the profile's size, so both profiles run them.
#include "profile.h"
#include "quad_geometry.h"
#include "screen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double EXACT = 1e-9;   // what double arithmetic may round away over a turn and back

// The fit as one readable string, so a failing case shows every field.
std::string fit_text(const FrameFit& f)
{
    return std::to_string(f.x) + "," + std::to_string(f.y) + " " + std::to_string(f.w) + "x" + std::to_string(f.h) +
           " in " + std::to_string(f.drawable_w) + "x" + std::to_string(f.drawable_h);
}

struct FitCase {
    int w, h;                // the drawable asked for
    std::string expected;    // the fit, as fit_text writes it
};

TEST(FrameFit, TheFrameKeepsItsAspectCentredBetweenBars)
{
    // Per profile: its own size fills, a wider drawable gets bars left and right, a taller one above
    // and below, and a drawable of no size still draws one pixel.
    const std::map<std::string, std::vector<FitCase>> cases = {
        {"sd",
         {{1024, 768, "0,0 1024x768 in 1024x768"},
          {1920, 1080, "240,0 1440x1080 in 1920x1080"},
          {800, 800, "0,100 800x600 in 800x800"},
          {200, 150, "0,0 200x150 in 200x150"},
          {0, 0, "0,0 1x1 in 1x1"},
          {-5, 300, "0,149 1x1 in 1x300"}}},
        {"hd",
         {{1920, 1080, "0,0 1920x1080 in 1920x1080"},
          {1024, 768, "0,96 1024x576 in 1024x768"},
          {3840, 1080, "960,0 1920x1080 in 3840x1080"},
          {800, 800, "0,175 800x450 in 800x800"},
          {0, 0, "0,0 1x1 in 1x1"}}},
    };
    for (const FitCase& c : cases.at(PROFILE_NAME))
        EXPECT_EQ(fit_text(fit_frame(c.w, c.h)), c.expected) << c.w << "x" << c.h;
}

TEST(FrameFit, EveryFitLiesInsideItsDrawableAndTouchesTwoOfItsSides)
{
    for (int w : {1, 199, 640, 1023, 1366, 2560, 3840})
        for (int h : {1, 150, 481, 768, 1080, 1600, 2160}) {
            const FrameFit f = fit_frame(w, h);
            EXPECT_GE(f.x, 0);
            EXPECT_GE(f.y, 0);
            EXPECT_LE(f.x + f.w, f.drawable_w);
            EXPECT_LE(f.y + f.h, f.drawable_h);
            EXPECT_TRUE(f.w == f.drawable_w || f.h == f.drawable_h) << fit_text(f);
            EXPECT_LE(std::abs(2 * f.x + f.w - f.drawable_w), 1) << "centred across: " << fit_text(f);
            EXPECT_LE(std::abs(2 * f.y + f.h - f.drawable_h), 1) << "centred down: " << fit_text(f);
        }
}

// A quad of `w` x `h` texels anchored at (ax, ay), placed at (tx, ty), scaled by s and turned.
PlacedQuad quad(int w, int h, int ax, int ay, float tx, float ty, float s = 1.0f, float turn = 0.0f, bool flip = false)
{
    PlacedQuad q;
    q.w = w, q.h = h, q.ax = ax, q.ay = ay, q.tx = tx, q.ty = ty, q.s = s, q.turn = turn, q.flip = flip;
    return q;
}

struct PointCase {
    const char* name;
    PlacedQuad q;
    double u, v;   // a texture coordinate
    double x, y;   // the screen point the quad puts it on
};

TEST(QuadGeometry, TexelsLandWhereTheMatrixPutsThemAndComeBack)
{
    const std::vector<PointCase> cases = {
        {"the anchor at the placement", quad(64, 32, 10, 20, 100, 50), 10, 20, 100, 50},
        {"the top-left texel", quad(64, 32, 10, 20, 100, 50), 0, 0, 90, 30},
        {"mirrored: left becomes right", quad(64, 32, 10, 20, 100, 50, 1, 0, true), 0, 0, 110, 30},
        {"scaled twice: placement and size", quad(64, 32, 10, 20, 100, 50, 2), 0, 0, 180, 60},
        {"a quarter turn: across becomes down", quad(64, 32, 10, 20, 100, 50, 1, 90), 11, 20, 100, 51},
        {"a half turn: down becomes up", quad(64, 32, 10, 20, 100, 50, 1, 180), 10, 25, 100, 45},
    };
    for (const PointCase& c : cases) {
        double x = 0, y = 0, u = 0, v = 0;
        quad_screen_at(c.q, c.u, c.v, x, y);
        EXPECT_NEAR(x, c.x, 1e-4) << c.name;
        EXPECT_NEAR(y, c.y, 1e-4) << c.name;
        quad_texture_at(c.q, x, y, u, v);
        EXPECT_NEAR(u, c.u, EXACT) << c.name << ": there and back";
        EXPECT_NEAR(v, c.v, EXACT) << c.name << ": there and back";
    }
}

struct ReachCase {
    const char* name;
    PlacedQuad q;
    bool covers;     // covers the whole screen with slack
    double pixels;   // screen pixels inside its bounding box
};

TEST(QuadGeometry, WhatAQuadReachesOfTheScreen)
{
    const int W = SCREEN_WIDTH, H = SCREEN_HEIGHT;
    const std::vector<ReachCase> cases = {
        {"inside", quad(100, 50, 0, 0, 10, 10), false, 5000},
        {"half off the left edge", quad(100, 50, 50, 0, 0, 10), false, 2500},
        {"wholly off the screen", quad(100, 50, 0, 0, -500, -500), false, 0},
        {"the screen exactly: no slack", quad(W, H, 0, 0, 0, 0), false, double(W) * H},
        {"the screen and more", quad(W + 8, H + 8, 4, 4, 0, 0), true, double(W) * H},
        {"the screen and more, mirrored", quad(W + 8, H + 8, W / 2 + 4, 4, W / 2.0f, 0, 1, 0, true), true,
         double(W) * H},
    };
    for (const ReachCase& c : cases) {
        EXPECT_EQ(covers_screen(c.q), c.covers) << c.name;
        EXPECT_NEAR(on_screen_pixels(c.q), c.pixels, 1e-6) << c.name;
        EXPECT_NEAR(screen_share(c.q), c.pixels / (double(W) * H), 1e-9) << c.name;
    }
}

TEST(QuadGeometry, ABoxIsEmptyUnlessItsEndsAreOrdered)
{
    const double nan = std::nan("");
    const struct {
        Box box;
        bool empty;
    } cases[] = {{{0, 0, 1, 1}, false}, {{0, 0, 0, 1}, true}, {{0, 0, 1, 0}, true},
                 {{2, 0, 1, 1}, true},  {{nan, 0, 1, 1}, true}, {{0, 0, 1, nan}, true}};
    for (const auto& c : cases)
        EXPECT_EQ(empty(c.box), c.empty) << c.box.x0 << "," << c.box.y0 << " " << c.box.x1 << "," << c.box.y1;
}

TEST(QuadGeometry, TwoPlacementsAreTheSameQuadOnlyFieldForField)
{
    const PlacedQuad base = quad(64, 32, 10, 20, 100, 50, 1.5f, 30);
    EXPECT_TRUE(same_quad(base, base));
    std::vector<PlacedQuad> changed(10, base);
    changed[0].sprite = 1, changed[1].w = 65, changed[2].h = 33, changed[3].s = 1.25f, changed[4].tx = 101;
    changed[5].ty = 51, changed[6].turn = 31, changed[7].ax = 11, changed[8].ay = 21, changed[9].flip = true;
    for (size_t i = 0; i < changed.size(); ++i)
        EXPECT_FALSE(same_quad(base, changed[i])) << "field " << i;
}

}  // namespace
