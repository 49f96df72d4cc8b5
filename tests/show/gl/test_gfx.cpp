// Quad drawing, flat and by polar placement, read back from the frame; the sprite table's
// loading, and the upload of images of every pixel depth.
#include "gfx.h"
#include "glsupport.h"
#include "showfiles.h"
#include "testsupport.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/resource.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr float QUARTER_TURN = 1.570796325f;   // the show's quarter turn in radians
constexpr float HALF_TURN = 3.14159265f;       // the show's half turn in radians

// An image colour by name, as the test pictures use them.
struct Colour {
    const char* name;
    Uint8 r, g, b;
};
constexpr Colour RED = {"red", 255, 0, 0};          // top-left quarter of the test pictures
constexpr Colour GREEN = {"green", 0, 255, 0};      // top-right quarter
constexpr Colour BLUE = {"blue", 0, 0, 255};        // bottom-left quarter
constexpr Colour WHITE = {"white", 255, 255, 255};  // bottom-right quarter
constexpr Colour BLACK = {"black", 0, 0, 0};        // the cleared frame

// The name of the colour seen at screen point (x, y), or its components when it is none of the above.
std::string seen(int x, int y)
{
    const Pixel p = read_pixel(x, y);
    for (const Colour& c : {RED, GREEN, BLUE, WHITE, BLACK})
        if (p.r == c.r && p.g == c.g && p.b == c.b)
            return c.name;
    return std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b);
}

// Whether nothing at all has been drawn since the frame was cleared.
bool frame_is_black()
{
    std::vector<Uint8> rgb(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (Uint8 component : rgb)
        if (component != 0)
            return false;
    return true;
}

// A w x h image of the given depth (8: paletted, 24: bytes R, G, B, 32: bytes R, G, B, A)
// whose quarters are red (top left), green (top right), blue (bottom left) and white.
SDL_Surface* quartered_image(int w, int h, int depth)
{
    const Uint32 amask = depth == 32 ? SDL_SwapLE32(0xFF000000) : 0;
    SDL_Surface* image = depth == 8 ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0)
                                    : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, depth, SDL_SwapLE32(0x0000FF),
                                                           SDL_SwapLE32(0x00FF00), SDL_SwapLE32(0xFF0000), amask);
    if (depth == 8) {
        SDL_Color palette[] = {{RED.r, RED.g, RED.b, 0}, {GREEN.r, GREEN.g, GREEN.b, 0},
                               {BLUE.r, BLUE.g, BLUE.b, 0}, {WHITE.r, WHITE.g, WHITE.b, 0}};
        SDL_SetColors(image, palette, 0, 4);
    }
    const int left = w / 2, top = h / 2;
    const Colour quarters[] = {RED, GREEN, BLUE, WHITE};
    SDL_Rect rects[] = {{0, 0, Uint16(left), Uint16(top)},
                        {Sint16(left), 0, Uint16(w - left), Uint16(top)},
                        {0, Sint16(top), Uint16(left), Uint16(h - top)},
                        {Sint16(left), Sint16(top), Uint16(w - left), Uint16(h - top)}};
    for (int q = 0; q < 4; ++q)
        SDL_FillRect(image, &rects[q], SDL_MapRGB(image->format, quarters[q].r, quarters[q].g, quarters[q].b));
    return image;
}

// The colours expected at the four corner pixels of a drawn quad.
struct Corners {
    const char* top_left;
    const char* top_right;
    const char* bottom_left;
    const char* bottom_right;
};
constexpr Corners UPRIGHT = {"red", "green", "blue", "white"};           // as the picture is stored
constexpr Corners MIRRORED = {"green", "red", "white", "blue"};          // mirrored left to right
constexpr Corners TURNED_CLOCKWISE = {"blue", "red", "white", "green"};  // turned a quarter clockwise

// Checks that a quad covers exactly the pixels from (left, top) to (right, bottom), both
// inclusive, showing the given corners, and that the pixels just outside it are untouched.
void expect_covers(int left, int top, int right, int bottom, Corners corners)
{
    EXPECT_EQ(seen(left, top), corners.top_left);
    EXPECT_EQ(seen(right, top), corners.top_right);
    EXPECT_EQ(seen(left, bottom), corners.bottom_left);
    EXPECT_EQ(seen(right, bottom), corners.bottom_right);
    EXPECT_EQ(seen(left - 1, top), "black");
    EXPECT_EQ(seen(right + 1, bottom), "black");
    EXPECT_EQ(seen(left, top - 1), "black");
    EXPECT_EQ(seen(right, bottom + 1), "black");
}

// A test image uploaded under the first sprite index the show leaves free; when it goes,
// its texture is deleted and the show's own records are back as they were.
class ScratchSprite {
public:
    // Takes ownership of `image`.
    explicit ScratchSprite(SDL_Surface* image) : index(static_cast<int>(spritedata.size())), saved(spritedata)
    {
        upload_sprite(index, image);
        SDL_FreeSurface(image);
    }
    ~ScratchSprite()
    {
        const GLuint name = static_cast<GLuint>(index);
        glDeleteTextures(1, &name);
        spritedata = saved;
    }
    ScratchSprite(const ScratchSprite&) = delete;
    ScratchSprite& operator=(const ScratchSprite&) = delete;

    const int index;   // the sprite index the image is drawn by

private:
    std::vector<SPRITEDATA> saved;
};

// Every drawing case starts from the show's window with a cleared frame.
class Drawing : public testing::Test {
protected:
    void SetUp() override
    {
        open_show_window();
        clear_frame();
    }
};

// Draws `sprite` flat at (200, 100) and returns its trace.
std::string draw_flat_at_200_100(int sprite, float zoom, float size, bool flip)
{
    TraceCapture trace;
    draw_gl_flat(sprite, 200, 100, 0, 0, zoom, 0, size, flip, 0, 0, 0);
    return trace.text();
}

TEST_F(Drawing, FlatSpriteCentredOnItsPointUprightOrMirrored)
{
    ScratchSprite sprite(quartered_image(100, 60, 32));
    EXPECT_EQ(draw_flat_at_200_100(sprite.index, 1, 1, false), "ax 200 ay 100\n");
    expect_covers(150, 70, 249, 129, UPRIGHT);
    clear_frame();
    draw_flat_at_200_100(sprite.index, 1, 1, true);
    expect_covers(150, 70, 249, 129, MIRRORED);
}

TEST_F(Drawing, FlatSpriteOfOddSizeKeepsTheExtraPixelRightAndBelowUnlessMirrored)
{
    ScratchSprite sprite(quartered_image(101, 61, 32));
    draw_flat_at_200_100(sprite.index, 1, 1, false);
    expect_covers(150, 70, 250, 130, UPRIGHT);
    clear_frame();
    draw_flat_at_200_100(sprite.index, 1, 1, true);
    expect_covers(149, 70, 249, 130, MIRRORED);
}

TEST_F(Drawing, FlatSizeScalesAboutTheAnchor)
{
    ScratchSprite sprite(quartered_image(100, 60, 32));
    EXPECT_EQ(draw_flat_at_200_100(sprite.index, 1, 2, false), "ax 100 ay 50\n");
    expect_covers(100, 40, 299, 159, UPRIGHT);
}

TEST_F(Drawing, FlatZoomScalesTheQuadAndMovesTheAnchorIntoTheImage)
{
    ScratchSprite sprite(quartered_image(100, 60, 32));
    // Size 2 at zoom 0.5 draws at scale 1: the anchor sits 25 and 15 image pixels from the top-left corner.
    EXPECT_EQ(draw_flat_at_200_100(sprite.index, 0.5f, 2, false), "ax 200 ay 100\n");
    expect_covers(175, 85, 274, 144, UPRIGHT);
    clear_frame();
    // Size 1 at zoom 0.5 draws at half scale, 12.5 and 7.5 screen pixels left of and above the anchor.
    EXPECT_EQ(draw_flat_at_200_100(sprite.index, 0.5f, 1, false), "ax 400 ay 200\n");
    EXPECT_EQ(seen(189, 95), "red");
    EXPECT_EQ(seen(186, 95), "black");
    EXPECT_EQ(seen(236, 120), "white");
    EXPECT_EQ(seen(239, 120), "black");
}

TEST_F(Drawing, FlatOffsetAndRotationTurnAboutTheShiftedAnchor)
{
    ScratchSprite sprite(quartered_image(100, 60, 32));
    TraceCapture trace;
    draw_gl_flat(sprite.index, 150, 60, 50, 40, 1, 90, 1, false, 0, 0, 0);
    EXPECT_EQ(trace.text(), "ax 200 ay 100\n");
    expect_covers(170, 50, 229, 149, TURNED_CLOCKWISE);
}

// Draws a 100 x 40 test picture by polar placement and returns the trace.
std::string draw_around_planet(int sprite, float x, float radius, float camangle, float camy, float zoom, float size)
{
    TraceCapture trace;
    draw_gl_entity(sprite, x, radius, camangle, camy, zoom, 0, size, false, 0, 0, 0);
    return trace.text();
}

TEST_F(Drawing, PolarPlacementAtTheCameraAngleLiesRightOfTheCentreTurnedClockwise)
{
    ScratchSprite sprite(quartered_image(100, 40, 32));
    const int centre_x = static_cast<int>(HALF_WIDTH);
    // The anchor lands at (centre x + 1000, 700 + 40 / 4), off screen in both profiles:
    // the view is shifted 1000 pixels to the right to see it.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(-1000, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(draw_around_planet(sprite.index, 0.7f, 1000, 0.7f, 0, 1, 1), "SCALE 1\n");
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    expect_covers(centre_x - 20, 660, centre_x + 19, 759, TURNED_CLOCKWISE);
    clear_frame();
    // The same point at radius 300 is on screen as it stands.
    draw_around_planet(sprite.index, 0.7f, 300, 0.7f, 0, 1, 1);
    expect_covers(centre_x + 280, 660, centre_x + 319, 759, TURNED_CLOCKWISE);
}

TEST_F(Drawing, PolarPlacementAQuarterTurnBackIsUprightAboveTheCentre)
{
    ScratchSprite sprite(quartered_image(100, 40, 32));
    const int centre_x = static_cast<int>(HALF_WIDTH);
    // Anchor at (centre x, 700 + camy - 300 + 40 / 4) = (centre x, 360).
    draw_around_planet(sprite.index, 0.2f, 300, 0.2f + QUARTER_TURN, -50, 1, 1);
    expect_covers(centre_x - 50, 340, centre_x + 49, 379, UPRIGHT);
}

TEST_F(Drawing, PolarZoomStretchesTheAngleAndDividesTheQuarterHeightDrop)
{
    ScratchSprite sprite(quartered_image(100, 40, 32));
    const int centre_x = static_cast<int>(HALF_WIDTH);
    // Half a turn back at zoom 0.5 is a quarter turn on screen; size 2 keeps the scale at 1;
    // the 10-pixel drop doubles: anchor at (centre x, 700 - 300 + 20) = (centre x, 420).
    EXPECT_EQ(draw_around_planet(sprite.index, 0, 300, HALF_TURN, 0, 0.5f, 2), "SCALE 0.5\n");
    expect_covers(centre_x - 50, 400, centre_x + 49, 439, UPRIGHT);
}

TEST_F(Drawing, SpritesWithoutRecordOrWithZeroScaleDrawNothingYetTraceLikeAnyQuad)
{
    ScratchSprite sprite(quartered_image(100, 60, 32));
    const int unrecorded = static_cast<int>(spritedata.size());
    TraceCapture trace;
    for (int index : {unrecorded, unrecorded + 1000, -1}) {
        draw_gl_flat(index, 200, 100, 0, 0, 1, 0, 1, false, 0, 0, 0);
        draw_gl_entity(index, 0, 100, 0, 0, 1, 0, 1, false, 0, 0, 0);
    }
    draw_gl_flat(sprite.index, 200, 100, 0, 0, 0, 0, 1, false, 0, 0, 0);
    draw_gl_flat(sprite.index, 200, 100, 0, 0, 1, 0, 0, false, 0, 0, 0);
    draw_gl_entity(sprite.index, 0, 100, 0, 0, 0, 0, 1, false, 0, 0, 0);
    draw_gl_entity(sprite.index, 0, 100, 0, 0, 1, 0, 0, false, 0, 0, 0);
    EXPECT_TRUE(frame_is_black());
    const std::string unrecorded_pair = "ax 200 ay 100\nSCALE 1\n";
    EXPECT_EQ(trace.text(), unrecorded_pair + unrecorded_pair + unrecorded_pair +
                                "ax inf ay inf\nax inf ay inf\nSCALE 0\nSCALE 1\n");
}

TEST_F(Drawing, ImageOfThreeBytesPerPixelIsDrawnOpaqueRowForRow)
{
    // 33 pixels of 3 bytes leave each row padded to 100 bytes.
    ScratchSprite sprite(quartered_image(33, 20, 24));
    ASSERT_EQ(spritedata[sprite.index].w, 33);
    ASSERT_EQ(spritedata[sprite.index].h, 20);
    draw_flat_at_200_100(sprite.index, 1, 1, false);
    expect_covers(184, 90, 216, 109, UPRIGHT);
}

TEST_F(Drawing, PalettedImageBecomesRgbaOfTheSameSizeAndDraws)
{
    SDL_Surface* paletted = quartered_image(100, 60, 8);
    SDL_Surface* converted = uploadable_surface(paletted);
    ASSERT_NE(converted, nullptr);
    ASSERT_NE(converted, paletted);
    EXPECT_EQ(converted->format->BytesPerPixel, 4);
    EXPECT_EQ(converted->w, 100);
    EXPECT_EQ(converted->h, 60);
    const Uint8* bottom_right = static_cast<Uint8*>(converted->pixels) + 59 * converted->pitch + 99 * 4;
    const Uint8* top_right = static_cast<Uint8*>(converted->pixels) + 99 * 4;
    EXPECT_EQ(std::vector<int>(bottom_right, bottom_right + 4), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(std::vector<int>(top_right, top_right + 4), (std::vector<int>{0, 255, 0, 255}));
    SDL_FreeSurface(converted);

    ScratchSprite sprite(paletted);
    EXPECT_EQ(spritedata[sprite.index].w, 100);
    EXPECT_EQ(spritedata[sprite.index].h, 60);
    draw_flat_at_200_100(sprite.index, 1, 1, false);
    expect_covers(150, 70, 249, 129, UPRIGHT);
}

TEST_F(Drawing, PalettedImageKeepsItsTransparentColourTransparent)
{
    SDL_Surface* keyed = quartered_image(100, 60, 8);
    SDL_SetColorKey(keyed, SDL_SRCCOLORKEY, SDL_MapRGB(keyed->format, WHITE.r, WHITE.g, WHITE.b));
    ScratchSprite sprite(keyed);
    draw_flat_at_200_100(sprite.index, 1, 1, false);
    EXPECT_EQ(seen(150, 70), "red");
    EXPECT_EQ(seen(249, 129), "black");
}

// The trace load_gfx writes for the first `count` paths, each on a line.
std::string traced_paths(int count)
{
    std::string trace;
    for (int i = 0; i < count; ++i)
        trace += std::string(SPRITE_FILES[i]) + "\n";
    return trace;
}

// The pixels of texture `sprite`, as OpenGL holds them, four bytes each.
std::vector<Uint8> texture_pixels(int sprite)
{
    const SPRITEDATA& size = spritedata[sprite];
    std::vector<Uint8> rgba(static_cast<size_t>(size.w) * size.h * 4);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, sprite);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// A scratch copy of the run folder's sprite images, made the working directory with an empty
// sprite table. When it goes, the run folder is the working directory again and its images
// are loaded back, so the show's textures and records are as before.
class ScratchImages {
public:
    ScratchImages() : run(fs::current_path())
    {
        std::string pattern = (fs::temp_directory_path() / "quoravint-gfx-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        fs::copy(run / "gfx", folder / "gfx");
        fs::current_path(folder);
        spritedata.clear();
    }
    ~ScratchImages()
    {
        fs::current_path(run);
        fs::remove_all(folder);
        spritedata.clear();
        TraceSilencer quiet;
        load_gfx();
    }
    ScratchImages(const ScratchImages&) = delete;
    ScratchImages& operator=(const ScratchImages&) = delete;

private:
    fs::path run;
    fs::path folder;
};

// Runs load_gfx in the working directory; returns its trace and stores its result in `loaded`.
std::string traced_load_gfx(bool& loaded)
{
    TraceCapture trace;
    loaded = load_gfx();
    return trace.text();
}

class Loading : public Drawing {};

TEST_F(Loading, CompleteLoadTracesEveryPathInOrderAndRecordsEveryImageSize)
{
    ScratchImages images;
    bool loaded = false;
    EXPECT_EQ(traced_load_gfx(loaded), traced_paths(SPRITE_COUNT));
    EXPECT_TRUE(loaded);
    ASSERT_EQ(spritedata.size(), static_cast<size_t>(SPRITE_COUNT));
    for (int i = 0; i < SPRITE_COUNT; ++i) {
        SDL_Surface* image = IMG_Load(SPRITE_FILES[i]);
        ASSERT_NE(image, nullptr) << SPRITE_FILES[i];
        EXPECT_EQ(spritedata[i].w, image->w) << SPRITE_FILES[i];
        EXPECT_EQ(spritedata[i].h, image->h) << SPRITE_FILES[i];
        SDL_FreeSurface(image);
    }
}

TEST_F(Loading, TheTwoSpoonSpritesHaveEqualRecordsAndTextures)
{
    ASSERT_EQ(spritedata.size(), static_cast<size_t>(SPRITE_COUNT));
    EXPECT_EQ(spritedata[SPRITE_SPOON].w, spritedata[SPRITE_SPOON_SPARE].w);
    EXPECT_EQ(spritedata[SPRITE_SPOON].h, spritedata[SPRITE_SPOON_SPARE].h);
    const std::vector<Uint8> first = texture_pixels(SPRITE_SPOON);
    EXPECT_EQ(first, texture_pixels(SPRITE_SPOON_SPARE));
    EXPECT_NE(first, std::vector<Uint8>(first.size(), 0)) << "the spoon texture is empty";
}

TEST_F(Loading, AnImageThatCannotBeLoadedStopsTheLoadAfterTheImagesBeforeIt)
{
    const std::string expected = traced_paths(SPRITE_PIPE + 1) + "Error loading gfx/pipe.png  \n";
    for (bool present_but_not_an_image : {false, true}) {
        SCOPED_TRACE(present_but_not_an_image ? "pipe.png is not an image" : "pipe.png is missing");
        ScratchImages images;
        fs::remove("gfx/pipe.png");
        if (present_but_not_an_image)
            std::ofstream("gfx/pipe.png") << "not an image\n";
        bool loaded = true;
        EXPECT_EQ(traced_load_gfx(loaded), expected);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(spritedata.size(), static_cast<size_t>(SPRITE_PIPE));
    }
}

// Runs `step` with the process's address space held to what it uses now plus `headroom` bytes,
// so that any larger allocation fails; the limit is lifted again afterwards.
template <typename Step>
void with_address_space_headroom(size_t headroom, Step step)
{
    rlimit saved{};
    getrlimit(RLIMIT_AS, &saved);
    std::ifstream status("/proc/self/status");
    std::string line;
    size_t used_kb = 0;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0)
            used_kb = std::stoul(line.substr(7));
    ASSERT_GT(used_kb, 0u);
    rlimit tight = saved;
    tight.rlim_cur = used_kb * 1024 + headroom;
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    step();
    setrlimit(RLIMIT_AS, &saved);
}

TEST_F(Loading, AnImageThatCannotBeConvertedGetsNeitherTextureNorRecord)
{
    constexpr int SIDE = 4096;                  // 16 MB at 8 bits, 64 MB once converted to RGBA
    constexpr size_t HEADROOM = 32u << 20;      // room for small allocations, not for the conversion
    SDL_Surface* paletted = quartered_image(SIDE, SIDE, 8);
    ASSERT_NE(paletted, nullptr);
    const size_t records = spritedata.size();
    bool uploaded = true;
    with_address_space_headroom(HEADROOM, [&] { uploaded = upload_sprite(static_cast<int>(records), paletted); });
    SDL_FreeSurface(paletted);
    EXPECT_FALSE(uploaded);
    EXPECT_EQ(spritedata.size(), records);
    EXPECT_FALSE(sprite_loaded(static_cast<int>(records)));
}

TEST_F(Loading, PalettedImageFileLoadsWithItsSizeAndDraws)
{
    ScratchImages images;
    // SDL_image reads an image by its content, so a paletted BMP stands in for a paletted PNG.
    SDL_Surface* paletted = quartered_image(100, 60, 8);
    fs::remove("gfx/block.png");
    ASSERT_EQ(SDL_SaveBMP(paletted, "gfx/block.png"), 0);
    SDL_FreeSurface(paletted);
    bool loaded = false;
    {
        TraceSilencer quiet;
        loaded = load_gfx();
    }
    EXPECT_TRUE(loaded);
    ASSERT_EQ(spritedata.size(), static_cast<size_t>(SPRITE_COUNT));
    EXPECT_EQ(spritedata[SPRITE_BLOCK].w, 100);
    EXPECT_EQ(spritedata[SPRITE_BLOCK].h, 60);
    draw_flat_at_200_100(SPRITE_BLOCK, 1, 1, false);
    expect_covers(150, 70, 249, 129, UPRIGHT);
}

}  // namespace
