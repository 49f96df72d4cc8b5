// Whole frames of the show, rendered in-process at chosen show ticks and read back pixel by pixel.
// With QUORAVINT_GALLERY=<folder> set, one more test plays the show and writes a picture of every
// mode to <folder>/<profile>-<mode>.png.
#include "entity.h"
#include "entityswarm.h"
#include "file.h"
#include "gfx.h"
#include "glsupport.h"
#include "scene.h"
#include "sceneswarm.h"
#include "seeded_show.h"
#include "show_drawing.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr unsigned SEED = 31337;             // any fixed seed: the frames only need repeatable draws
constexpr int TICK_LIMIT = 40000;            // no moment of the gallery lies later in the show
constexpr int SETTLE_TICKS = 60;             // ticks after an event before its picture, so it has grown
constexpr int CLIMB_SHOWN_AT = 150;          // pixels of climb before the climb's picture
constexpr int PLANET_TOP_MARGIN = 30;        // pixels above the grass ring's screen line still in the picture
constexpr int GRASS_SEARCH_BELOW = 50;       // grass blades hang this far below their circle at most
constexpr int SOCKS_SHOWN_AT = 400;          // show tick at which this layout has socks in view

// Whether a pixel is (nearly) the black the frame is cleared to.
bool is_black(const Pixel& p)
{
    return p.r < 8 && p.g < 8 && p.b < 8;
}

// A show of its own, built from a seeded generator, driven and drawn tick by tick.
class ShowFrames : public SeededShow {
protected:
    void SetUp() override { build_show(SEED); }
    using SeededShow::run_until;
    // Runs the show's tick until `happened` holds (at most to TICK_LIMIT); whether it did.
    bool run_until(const std::function<bool()>& happened)
    {
        TraceSilencer quiet;
        if (!happened())
            run_to_tick(TICK_LIMIT, [&](long) { return !happened(); }, *show);
        return happened();
    }
    // Draws the show into the back buffer, as do_gfx does before presenting it.
    void render()
    {
        TraceSilencer quiet;
        clear_frame();
        draw_show(*show);
        glFinish();
    }
    // The screen point straight above the planet centre at `radius`, `up` pixels higher.
    static int screen_y_of_radius(const SCENE& scene, float radius, int up = 0)
    {
        return static_cast<int>(PLANET_CENTRE_Y + scene.camy - radius) - up;
    }
};

TEST_F(ShowFrames, FirstFrameShowsSceneOnesPlanetCentredForTheProfile)
{
    run_until(1);
    render();
    const SCENE& one = *show->scene1;
    const int centre = static_cast<int>(HALF_WIDTH);
    EXPECT_FALSE(is_black(read_pixel(5, 5))) << "the sky backdrop fills the corners";
    EXPECT_FALSE(is_black(read_pixel(SCREEN_WIDTH - 5, 5)));
    EXPECT_FALSE(is_black(read_pixel(centre, SCREEN_HEIGHT - 5))) << "the ground body fills the bottom middle";

    const Pixel sky = read_pixel(centre, screen_y_of_radius(one, 1000.0f, PLANET_TOP_MARGIN + 200));
    const Pixel ground = read_pixel(centre, SCREEN_HEIGHT - 5);
    EXPECT_GT(std::abs(sky.r - ground.r) + std::abs(sky.g - ground.g) + std::abs(sky.b - ground.b), 60)
        << "sky and ground differ";
}

TEST_F(ShowFrames, GrassRingRunsWithoutGapsWhereverItIsOnScreen)
{
    run_until(1);
    render();
    const SCENE& one = *show->scene1;
    int columns = 0;
    for (int x = 8; x < SCREEN_WIDTH; x += 16) {
        // The ring dips away from the top of the planet: look along the circle, not along a row.
        const double dx = x - HALF_WIDTH;
        const double ring_y = PLANET_CENTRE_Y + one.camy - std::sqrt(1000.0 * 1000.0 - dx * dx);
        if (ring_y + GRASS_SEARCH_BELOW >= SCREEN_HEIGHT)
            continue;   // the ring has curved down out of the picture here
        ++columns;
        bool green = false;
        for (int y = static_cast<int>(ring_y) - 10; y <= static_cast<int>(ring_y) + GRASS_SEARCH_BELOW; ++y) {
            const Pixel p = read_pixel(x, y);
            green = green || (p.g > p.r + 20 && p.g > p.b + 20);
        }
        EXPECT_TRUE(green) << "no grass at x " << x;
    }
    EXPECT_GT(columns, SCREEN_WIDTH / 16 / 4) << "the ring spans at least a quarter of the width";
}

TEST_F(ShowFrames, SocksStandOnTheRingWithinTheView)
{
    run_until(SOCKS_SHOWN_AT);
    SCENE& one = *show->scene1;
    int socks_in_view = 0;
    for (ENTITY* e : one.actors->entities)
        if (e->type == TYPE_SOCK && std::fabs(e->absx() - (one.camangle - QUARTER_TURN)) < 0.5)
            ++socks_in_view;
    ASSERT_GT(socks_in_view, 0) << "this layout has socks in view at the start";
    // Hide every sock and compare: the socks are what differs.
    for (ENTITY* e : one.actors->entities)
        if (e->type == TYPE_SOCK)
            e->visible = false;
    std::vector<Pixel> with_socks;
    std::vector<Pixel> without_socks;
    auto sample_band = [&](std::vector<Pixel>& into) {
        const int band = screen_y_of_radius(one, 1200.0f);
        for (int x = 0; x < SCREEN_WIDTH; x += 4)
            for (int y = band - 40; y <= band + 120; y += 8)
                into.push_back(read_pixel(x, std::max(0, std::min(SCREEN_HEIGHT - 1, y))));
    };
    render();
    sample_band(without_socks);
    for (ENTITY* e : one.actors->entities)
        if (e->type == TYPE_SOCK)
            e->visible = true;
    render();
    sample_band(with_socks);
    int differing = 0;
    for (size_t i = 0; i < with_socks.size(); ++i)
        differing += with_socks[i].r != without_socks[i].r || with_socks[i].g != without_socks[i].g ||
                     with_socks[i].b != without_socks[i].b;
    EXPECT_GT(differing, 20) << "socks are drawn in the band above the grass";
}

TEST_F(ShowFrames, AtFifteenThousandSceneTwoIsShownAlone)
{
    run_until(1);
    render();
    const Pixel scene_one_corner = read_pixel(5, 5);
    show->showticks = 15000;
    run_until(15001);
    EXPECT_TRUE(show->scene2->visible);
    EXPECT_FALSE(show->scene1->visible);
    render();
    const Pixel corner = read_pixel(5, 5);
    EXPECT_FALSE(is_black(corner)) << "the stone backdrop fills the corners";
    EXPECT_NE(std::abs(corner.r - scene_one_corner.r) + std::abs(corner.g - scene_one_corner.g) +
                  std::abs(corner.b - scene_one_corner.b),
              0)
        << "a different backdrop from scene 1's";
    show->scene2->visibility(false);
    render();
    for (int y : {5, SCREEN_HEIGHT / 2, SCREEN_HEIGHT - 5})
        EXPECT_TRUE(is_black(read_pixel(static_cast<int>(HALF_WIDTH), y))) << "a hidden scene draws nothing";
}

// ---------------------------------------------------------------------------
// The gallery

// Whether any top-level entity of the swarm satisfies `wanted`.
bool any_entity(ENTITYSWARM* swarm, const std::function<bool(ENTITY*)>& wanted)
{
    for (ENTITY* e : swarm->entities)
        if (wanted(e))
            return true;
    return false;
}

TEST_F(ShowFrames, GalleryOfEveryMode)
{
    const char* folder = std::getenv("QUORAVINT_GALLERY");
    if (!folder)
        GTEST_SKIP() << "set QUORAVINT_GALLERY=<folder> to write the pictures";
    SCENE& one = *show->scene1;
    SCENE& two = *show->scene2;
    auto snap = [&](const char* mode) {
        render();
        const std::string path = std::string(folder) + "/" + PROFILE_NAME + "-" + mode + ".png";
        EXPECT_TRUE(save_frame(path.c_str())) << path;
    };
    run_until(400);
    snap("wander");
    run_until(620);
    snap("scrolltext");
    ASSERT_TRUE(run_until([&] {
        return one.mode == MODE_BUILDFUTURE && one.target && one.target->mode == STATE_CALL;
    }));
    run_until(show->showticks + 3 * SETTLE_TICKS);
    snap("towercall");
    run_until(10000 + 10 * SETTLE_TICKS);
    snap("vacuum");
    ASSERT_TRUE(run_until([&] {
        return two.visible && any_entity(two.structures, [](ENTITY* e) { return e->mode == STATE_YELL; });
    }));
    run_until(show->showticks + SETTLE_TICKS / 3);
    snap("fridge");
    ASSERT_TRUE(run_until([&] { return one.mode == MODE_CLIMB && one.camy > START_CAMY + CLIMB_SHOWN_AT; }));
    snap("climb");
    ASSERT_TRUE(run_until([&] { return one.mode == MODE_SKYNAMES; }));
    run_until(show->showticks + 2 * SETTLE_TICKS);
    snap("skynames");
}

} // namespace
