// Entity drawing: the view test around the camera, what it never culls, hidden subtrees,
// the text frame's widening, the pipe trace, and where the planet body lands on screen.
#include "entity.h"
#include "entityswarm.h"
#include "gfx.h"
#include "glsupport.h"
#include "scene.h"
#include "show_drawing.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>
#include <string>

namespace {

constexpr int EMPTY_SCENE = 3;          // a scene number that builds no entities
constexpr float CAMERA_ANGLE = 0.75f;   // any camera angle; the view test is relative to it
constexpr float WORLD_RADIUS = 1200.0f; // any radius; the view test looks only at angles
constexpr float LOW_CAMERA = -400.0f;   // puts the planet centre at screen y 300, well inside the picture
constexpr int MIRROR_ROW = 170;         // a screen row through a sock's foot, drawn upright at the top

// One quad drawn by the polar placement writes one "SCALE " line, one flat quad one "ax " line.
int polar_quads(const std::string& trace)
{
    return count_occurrences(trace, "SCALE ");
}

// An empty scene with the camera at CAMERA_ANGLE, and helpers to place and draw entities in it.
class EntityDraw : public ::testing::Test {
protected:
    SCENE* scene = nullptr;

    static void SetUpTestSuite() { open_show_window(); }
    void SetUp() override
    {
        TraceSilencer quiet;
        scene = new SCENE(EMPTY_SCENE);
        scene->camangle = CAMERA_ANGLE;
    }
    // A new entity of `type` in `swarm` at (x, y).
    ENTITY* place(ENTITYSWARM* swarm, int type, float x, float y = WORLD_RADIUS)
    {
        TraceSilencer quiet;
        ENTITY* e = new ENTITY(swarm, nullptr, x, y, type, 0, 0, 0, " ", STATE_IDLE);
        swarm->add_entity(e);
        return e;
    }
    // A child of `owner` of `type` at (x, y) relative to it.
    ENTITY* child(ENTITY* owner, int type, float x, float y)
    {
        TraceSilencer quiet;
        ENTITY* c = new ENTITY(owner->children, owner, x, y, type, 0, 0, 0, " ", STATE_IDLE);
        owner->children->add_entity(c);
        return c;
    }
    // Draws `e` (and its subtree) on a cleared frame; returns the trace.
    static std::string draw(ENTITY* e)
    {
        clear_frame();
        TraceCapture trace;
        draw_entity(*e);
        glFinish();
        return trace.text();
    }
    // The right edge of the view in a swarm of `scale`, as the view test computes it.
    float right_edge(float scale) const
    {
        return scene->camangle + static_cast<float>(HALF_TURN / scale);
    }
};

TEST_F(EntityDraw, ExactlyHalfATurnAheadIsDrawnAHairBeyondIsNotNorItsChildren)
{
    ENTITY* block = place(scene->actors, TYPE_BLOCK, right_edge(1.0f));
    child(block, TYPE_BLOCK, 0.0f, 100.0f);
    EXPECT_EQ(polar_quads(draw(block)), 2) << "the entity and its child";
    block->x = std::nextafter(right_edge(1.0f), 100.0f);
    EXPECT_EQ(polar_quads(draw(block)), 0);
    const float left = scene->camangle - static_cast<float>(HALF_TURN);
    block->x = left;
    EXPECT_EQ(polar_quads(draw(block)), 2) << "the left edge is inside too";
    block->x = std::nextafter(left, -100.0f);
    EXPECT_EQ(polar_quads(draw(block)), 0);
}

TEST_F(EntityDraw, HalfScaleLayerSeesOneFullTurnEitherSide)
{
    ENTITY* far_shrub = place(scene->bkg1, TYPE_SHRUB, right_edge(0.5f));
    EXPECT_EQ(polar_quads(draw(far_shrub)), 1);
    EXPECT_NEAR(right_edge(0.5f) - scene->camangle, 2 * HALF_TURN, 1e-5);
    far_shrub->x = std::nextafter(right_edge(0.5f), 100.0f);
    EXPECT_EQ(polar_quads(draw(far_shrub)), 0);
    ENTITY* near = place(scene->actors, TYPE_SHRUB, scene->camangle + 4.0f);
    far_shrub->x = scene->camangle + 4.0f;
    EXPECT_EQ(polar_quads(draw(far_shrub)), 1) << "4 rad ahead is seen at scale 0.5";
    EXPECT_EQ(polar_quads(draw(near)), 0) << "but not at scale 1";
}

TEST_F(EntityDraw, ChildrenAreTestedByTheirRootLayersScale)
{
    ENTITY* shrub = place(scene->bkg1, TYPE_SHRUB, scene->camangle);
    child(shrub, TYPE_BLOCK, 5.0f, 0.0f);
    EXPECT_EQ(polar_quads(draw(shrub)), 2) << "5 rad ahead is inside the half-scale window";
}

TEST_F(EntityDraw, GroundCoresAndSpecksAreNeverCulled)
{
    ENTITY* core = place(scene->core, TYPE_GROUNDCORE, scene->camangle + 50.0f, 0.0f);
    EXPECT_EQ(count_occurrences(draw(core), "ax "), 1) << "the core is drawn flat at the planet centre";
    ENTITY* speck = place(scene->actors, TYPE_SPECK, scene->camangle - 50.0f);
    speck->sprite = SPRITE_GROUND0;
    EXPECT_EQ(polar_quads(draw(speck)), 1);
    ENTITY* block = place(scene->actors, TYPE_BLOCK, scene->camangle - 50.0f);
    EXPECT_EQ(polar_quads(draw(block)), 0) << "any other type that far away is culled";
}

TEST_F(EntityDraw, InvisibleEntityHidesItsSubtreeAndNoImageHidesOnlyItself)
{
    ENTITY* block = place(scene->actors, TYPE_BLOCK, scene->camangle);
    child(block, TYPE_BLOCK, 0.0f, 100.0f);
    block->visible = false;
    EXPECT_EQ(polar_quads(draw(block)), 0);
    block->visible = true;
    block->sprite = SPRITE_NONE;
    EXPECT_EQ(polar_quads(draw(block)), 1) << "only the child";
}

TEST_F(EntityDraw, TextFrameStaysDrawnThirtyRadiansPerCharacterLongerBehind)
{
    ENTITY* frame = place(scene->actors, TYPE_TEXTFRAME, 0.0f, 1400.0f);
    frame->text = "TEN CHARS!";
    frame->sprite = SPRITE_TEXTDOT;   // a frame has no image of its own: lend it one to see it pass
    const float left = scene->camangle - static_cast<float>(HALF_TURN) - 300.0f;
    frame->x = left;
    EXPECT_EQ(polar_quads(draw(frame)), 1) << "300 below the window still counts";
    frame->x = std::nextafter(left, -1000.0f);
    EXPECT_EQ(polar_quads(draw(frame)), 0);
    frame->x = std::nextafter(right_edge(1.0f), 100.0f);
    EXPECT_EQ(polar_quads(draw(frame)), 0) << "only the trailing side widens";
}

TEST_F(EntityDraw, PipeWritesItsTraceEvenWhenItIsNotDrawn)
{
    ENTITY* pipe = place(scene->structures, TYPE_PIPE, scene->camangle);
    EXPECT_EQ(count_occurrences(draw(pipe), "PIPE DRAW "), 1);
    pipe->x = scene->camangle + 10.0f;
    std::string trace = draw(pipe);
    EXPECT_EQ(count_occurrences(trace, "PIPE DRAW "), 1);
    EXPECT_EQ(polar_quads(trace), 0);
    pipe->x = scene->camangle;
    pipe->visible = false;
    EXPECT_EQ(count_occurrences(draw(pipe), "PIPE DRAW "), 1);
}

TEST_F(EntityDraw, PlanetBodyIsCentredForTheProfileAtTheCameraHeight)
{
    scene->camy = LOW_CAMERA;
    ENTITY* core = place(scene->core, TYPE_GROUNDCORE, 0.0f, 0.0f);
    core->zoom = 1.0f;
    const int centre_x = static_cast<int>(HALF_WIDTH);
    const int centre_y = static_cast<int>(PLANET_CENTRE_Y + LOW_CAMERA);
    draw(core);
    const Pixel middle = read_pixel(centre_x, centre_y);
    EXPECT_GT(middle.r + middle.g + middle.b, 30) << "the ground body covers the planet centre";
    const int half = spritedata[SPRITE_GROUND0].w / 2;
    for (int away : {-half - 4, half + 4}) {
        const Pixel outside = read_pixel(centre_x + away, centre_y);
        EXPECT_LT(outside.r + outside.g + outside.b, 10) << "nothing beyond its edge at " << away;
    }
}

TEST_F(EntityDraw, MirrorFollowsTheFacing)
{
    ENTITY* sock = place(scene->actors, TYPE_BLOCK, static_cast<float>(scene->camangle - QUARTER_TURN), 700.0f);
    scene->camy = 0.0f;
    sock->sprite = SPRITE_SOCKWALK;
    const int x0 = static_cast<int>(HALF_WIDTH);
    // The mean x offset from the anchor of the lit pixels along one row through the foot.
    auto lit_centre = [&](int facing) {
        sock->facing = facing;
        draw(sock);
        double sum = 0;
        int lit = 0;
        for (int dx = -96; dx < 96; ++dx) {
            const Pixel p = read_pixel(x0 + dx, MIRROR_ROW);
            if (p.r + p.g + p.b > 30)
                sum += dx, ++lit;
        }
        return lit ? sum / lit : 0.0;
    };
    const double stored = lit_centre(1);
    const double mirrored = lit_centre(0);
    EXPECT_GT(std::fabs(stored), 3.0) << "the foot leans one way";
    EXPECT_NEAR(stored, -mirrored, 1.5) << "and the mirror image the other";
}

} // namespace
