// The fast drawing path against the reference path: whole frames of one show drawn both ways in
// this process and read back with glReadPixels must be the same byte for byte, at moments of
// every mode of both scenes and over runs of consecutive frames across the scene switches, so
// that whatever the fast path keeps between frames is shown never to go stale.
#include "drawpath.h"
#include "entity.h"
#include "file.h"
#include "gfx.h"
#include "glsupport.h"
#include "scene.h"
#include "sceneswarm.h"
#include "screen.h"
#include "seeded_show.h"
#include "show_drawing.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr unsigned SEED = 4242;          // any fixed seed: both paths draw the same show anyway
constexpr int FRAMES_PER_MOMENT = 3;     // a backdrop is drawn, then kept, then put from the texture
constexpr int SWITCH_MARGIN = 4;         // frames drawn on each side of a scene switch
constexpr int LAST_TIMELINE_TICK = 32000;   // scene 2 idles from here: the timeline's last mode

// A colour no frame of the show has everywhere: whatever a path fails to draw over stands out.
constexpr float POISON_R = 1.0f, POISON_G = 0.0f, POISON_B = 1.0f;

// The whole back buffer, RGBA, rows bottom to top.
using Frame = std::vector<unsigned char>;

// Fills the back buffer with the poison colour, as an undefined buffer after a swap might hold anything.
void poison_back_buffer()
{
    glClearColor(POISON_R, POISON_G, POISON_B, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);   // the show's own clear colour again
}

// Reads the whole back buffer, bars and all.
Frame read_frame()
{
    const FrameFit& fit = frame_fit();
    Frame frame(static_cast<size_t>(fit.drawable_w) * fit.drawable_h * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, fit.drawable_w, fit.drawable_h, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    return frame;
}

// Makes the window w x h and fits the frame into it; false when the OpenGL context did not survive.
bool resize_window(int w, int h, Uint32 flags)
{
    if (!SDL_SetVideoMode(w, h, SCREEN_BPP, flags) || !glIsEnabled(GL_BLEND))
        return false;
    apply_frame_fit(fit_frame(w, h));
    return true;
}

// An empty string when the frames are equal in colour, else where and how often they differ.
std::string difference(const Frame& reference, const Frame& fast)
{
    long pixels = 0;
    std::ostringstream first;
    for (size_t i = 0; i < reference.size(); i += 4) {
        if (reference[i] == fast[i] && reference[i + 1] == fast[i + 1] && reference[i + 2] == fast[i + 2])
            continue;
        if (pixels++ == 0) {
            const size_t at = i / 4;
            const size_t w = frame_fit().drawable_w;
            first << "first at (" << at % w << ", " << frame_fit().drawable_h - 1 - at / w
                  << "): reference " << int(reference[i]) << "," << int(reference[i + 1]) << ","
                  << int(reference[i + 2]) << " fast " << int(fast[i]) << "," << int(fast[i + 1]) << ","
                  << int(fast[i + 2]);
        }
    }
    return pixels ? std::to_string(pixels) + " pixels differ, " + first.str() : "";
}

// One show, driven tick by tick, each frame drawn both ways over a poisoned buffer.
class DrawPaths : public SeededShow {
protected:
    void SetUp() override
    {
        build_show(SEED);
        reset_draw_savings();
    }
    void TearDown() override { set_draw_path(DrawPath::FAST); }

    // Draws the show's frame as it stands with `path`.
    Frame draw(DrawPath path)
    {
        TraceSilencer quiet;
        set_draw_path(path);
        poison_back_buffer();
        begin_frame();
        draw_show(*show);
        end_frame();
        glFinish();
        return read_frame();
    }
    // Draws the frame both ways and expects them equal, naming the show tick when they are not.
    void expect_same_both_ways()
    {
        const Frame fast = draw(DrawPath::FAST);
        const Frame reference = draw(DrawPath::REFERENCE);
        EXPECT_EQ(difference(reference, fast), "") << "at show tick " << show->showticks;
    }
    // Runs and draws `frames` consecutive ticks, comparing every frame.
    void compare_run(int frames)
    {
        for (int f = 0; f < frames; ++f) {
            run_until(show->showticks + 1);
            expect_same_both_ways();
        }
    }
};

TEST_F(DrawPaths, EveryModeOfBothScenesIsTheSameBothWays)
{
    // Scene 1 wanders, writes its scroll text, builds towers, vacuums; scene 2 wanders in the
    // kitchen; scene 1 climbs, sails its sky names and vacuums again; scene 2 idles.
    const int moments[] = {1, 700, 4200, 10600, 15700, 20300, 21300, 30300, LAST_TIMELINE_TICK + 300};
    for (int tick : moments) {
        run_until(tick);
        SCOPED_TRACE("scene mode of moment " + std::to_string(tick));
        compare_run(FRAMES_PER_MOMENT);
    }
    EXPECT_EQ(show->scene2->mode, MODE_IDLE) << "the last moment lies in the timeline's last mode";

    const DrawSavings saved = draw_savings();
    EXPECT_GT(saved.backdrops_put, 0) << "an unchanged backdrop is put from its texture";
    EXPECT_GT(saved.unblended, 0) << "opaque quads are drawn without blending";
    EXPECT_GT(saved.binds, 0) << "binds of the texture already bound are left out";
    EXPECT_GT(saved.banded, 0) << "the planet body is drawn in bands";
}

TEST_F(DrawPaths, ConsecutiveFramesAcrossEverySceneSwitchAreTheSameBothWays)
{
    // The logic between switches is skipped: what matters is that every frame after a switch
    // is drawn afresh, whatever the frames before it kept.
    run_until(60);
    compare_run(FRAMES_PER_MOMENT);
    for (int switch_tick : {15000, 20000, 30000, LAST_TIMELINE_TICK}) {
        show->showticks = switch_tick - SWITCH_MARGIN;
        SCOPED_TRACE("switch at show tick " + std::to_string(switch_tick));
        compare_run(2 * SWITCH_MARGIN);
    }
    EXPECT_GE(draw_savings().backdrops_kept, 3) << "each scene's backdrop is kept anew after a switch";
}

TEST_F(DrawPaths, FramesFittedToOtherWindowSizesAreTheSameBothWays)
{
    struct Size {
        const char* name;
        int w, h;
    };
    const Size sizes[] = {{"smaller, a little wider", SCREEN_WIDTH / 2 + 37, SCREEN_HEIGHT / 2 + 11},
                          {"square: bars above and below", SCREEN_HEIGHT, SCREEN_HEIGHT},
                          {"larger, wider still", SCREEN_WIDTH * 4 / 3 + 50, SCREEN_HEIGHT * 4 / 3}};
    for (const Size& size : sizes) {
        SCOPED_TRACE(size.name);
        ASSERT_TRUE(resize_window(size.w, size.h, SDL_OPENGL)) << SDL_GetError();
        for (int tick : {700, 15700, 21300}) {
            run_until(tick);
            compare_run(FRAMES_PER_MOMENT);
        }
        const Frame frame = draw(DrawPath::FAST);
        EXPECT_EQ(frame[0] | frame[1] | frame[2], 0) << "the bar's corner is black";
    }
    EXPECT_GT(draw_savings().backdrops_put, 0) << "a fitted backdrop is put from its texture";
    ASSERT_TRUE(resize_window(SCREEN_WIDTH, SCREEN_HEIGHT, SDL_OPENGL | SDL_FULLSCREEN));
}

TEST_F(DrawPaths, AFrameWithNothingShownIsClearedBothWays)
{
    run_until(60);
    compare_run(FRAMES_PER_MOMENT);
    show->scene1->visibility(false);
    SCOPED_TRACE("no scene shown");
    expect_same_both_ways();
    const Frame empty = draw(DrawPath::FAST);
    EXPECT_EQ(empty[0], 0) << "cleared to black, not left poisoned";
    show->scene1->visibility(true);
    compare_run(FRAMES_PER_MOMENT);
}

TEST_F(DrawPaths, QuadsOutsideAFrameAreDrawnTheReferenceWay)
{
    // Drawing tests and tools place single quads without a frame: blended whole, as designed.
    clear_frame();
    {
        TraceSilencer quiet;
        draw_gl_flat(SPRITE_SKY0, HALF_WIDTH, HALF_HEIGHT, 0, 0, 1.0f, 0, 1.0f, false, 0, 0, 0);
    }
    EXPECT_EQ(draw_savings().quads, 0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

}
