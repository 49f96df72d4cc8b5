// Tests of the generated pictures, read back the way the show reads them (SDL_image), with
// every size rule measured on the pixels: where the show puts a sprite and at what zoom
// decides what its picture must cover.
#include <gtest/gtest.h>

#include "font.h"
#include "geometry.h"
#include "gfx.h"
#include "showfiles.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;


constexpr int OPAQUE = 255;              // alpha of a pixel nothing shows through
constexpr int SOLID = 128;               // alpha from which a pixel reads as part of the shape
constexpr int HD_W = 1920;               // the larger screen profile the backdrops must fill
constexpr int HD_H = 1080;
constexpr double GRASS_STEP = 1 / GRASS_PER_RADIAN;   // radians between grass pieces
constexpr double FLOOR_STEP = 1 / FLOOR_PER_RADIAN;   // radians between dome floor pieces
constexpr int RING_BAND_ROWS = 40;       // a ring must be continuous over at least this many rows
constexpr double SHRUB_SHOWING = 60.0;   // a shrub must stand at least this far out of the grass
constexpr double FOOTING = 6.0;          // how far off its ground a foot may end, in pixels

// -- helpers ------------------------------------------------------------------------------

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;

// The image at `path` as IMG_Load gives it to the show; fails the test when missing.
Surface load(const std::string& path)
{
    Surface image(IMG_Load(path.c_str()));
    EXPECT_NE(image, nullptr) << path << ": " << IMG_GetError();
    return image;
}

// The red, green, blue and alpha bytes of pixel (x, y).
SDL_Color rgba(SDL_Surface* image, int x, int y)
{
    const Uint8* row = static_cast<const Uint8*>(image->pixels) + y * image->pitch;
    Uint32 pixel = 0;
    std::copy_n(row + x * image->format->BytesPerPixel, image->format->BytesPerPixel,
                reinterpret_cast<Uint8*>(&pixel));
    SDL_Color colour;
    SDL_GetRGBA(pixel, image->format, &colour.r, &colour.g, &colour.b, &colour.unused);
    return colour;
}

int alpha(SDL_Surface* image, int x, int y) { return rgba(image, x, y).unused; }

// Longest run of pixels in row `y` whose alpha is at least `threshold`.
int longest_run(SDL_Surface* image, int y, int threshold)
{
    int best = 0, run = 0;
    for (int x = 0; x < image->w; ++x) {
        run = alpha(image, x, y) >= threshold ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

// Number of pixels in column `x` from the first to the last with alpha at least `threshold`.
int column_extent(SDL_Surface* image, int x, int threshold)
{
    int first = -1, last = -1;
    for (int y = 0; y < image->h; ++y)
        if (alpha(image, x, y) >= threshold) {
            first = first < 0 ? y : first;
            last = y;
        }
    return first < 0 ? 0 : last - first + 1;
}

// The lowest row holding a solid pixel, or -1 for an empty image.
int lowest_solid_row(SDL_Surface* image)
{
    for (int y = image->h - 1; y >= 0; --y)
        for (int x = 0; x < image->w; ++x)
            if (alpha(image, x, y) >= SOLID)
                return y;
    return -1;
}

// The topmost row holding a solid pixel, or -1 for an empty image.
int highest_solid_row(SDL_Surface* image)
{
    for (int y = 0; y < image->h; ++y)
        for (int x = 0; x < image->w; ++x)
            if (alpha(image, x, y) >= SOLID)
                return y;
    return -1;
}

// Distance from the planet centre of the middle of image row `y`, for a sprite the show
// draws upright at `radius`, `size` times its own size, in a layer of scale `layer`: the
// image is centred a quarter of its height (integer halves, as the show computes it) divided
// by the layer's scale inward of its point on the circle.
double row_radius(SDL_Surface* image, double radius, double size, int y, double layer = 1.0)
{
    const int half = image->h / 2;
    return radius - (half / 2) / layer + size * (half - (y + 0.5));
}

// Outer and inner radius of the widest band of consecutive rows that join into a closed
// ring: in each row the opaque run is longer than the gap between two pieces at that radius.
struct RingBand {
    double outer = 0, inner = 0;
    int rows = 0;
};
RingBand continuous_band(SDL_Surface* piece, double step)
{
    RingBand best, current;
    for (int y = 0; y < piece->h; ++y) {
        const double radius = row_radius(piece, GROUND_RADIUS, 1.0, y);
        if (longest_run(piece, y, OPAQUE) > radius * step) {
            current.outer = current.rows ? current.outer : radius + 0.5;
            current.inner = radius - 0.5;
            ++current.rows;
            if (current.rows > best.rows)
                best = current;
        } else {
            current = RingBand();
        }
    }
    return best;
}

// The raw bytes of a file, or empty when it cannot be read.
std::string file_bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file under `root`, by its path relative to `root`, with its bytes.
std::vector<std::pair<std::string, std::string>> tree_contents(const fs::path& root)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.emplace_back(fs::relative(entry.path(), root).string(), file_bytes(entry.path()));
    std::sort(files.begin(), files.end());
    return files;
}

// The 25 dots of font cell `k`, row by row, as '#' and '.'.
std::string glyph_pattern(SDL_Surface* font, int k)
{
    std::string pattern;
    for (int y = 0; y < GLYPH_SIZE; ++y)
        for (int x = 0; x < GLYPH_SIZE; ++x)
            pattern += alpha(font, k * GLYPH_PITCH + x, y) == OPAQUE ? '#' : '.';
    return pattern;
}

// -- every image --------------------------------------------------------------------------

TEST(Pictures, EveryImageLoadsAs32BitsWithAlpha)
{
    std::vector<std::string> files = gfxfiles;
    files.push_back(FONT_FILE);
    for (const std::string& file : files) {
        Surface image = load(file);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->format->BitsPerPixel, 32) << file;
        EXPECT_NE(image->format->Amask, 0u) << file;
    }
}

TEST(Pictures, AnimationFramesAndVariantsShareSizeButDiffer)
{
    const std::vector<std::vector<std::string>> families = {
        {"gfx/sockwalk.png", "gfx/sockyell0.png", "gfx/sockyell1.png"},
        {"gfx/fridge-open.png", "gfx/fridge-closed.png"},
        {"gfx/cereal0.png", "gfx/cereal1.png", "gfx/cereal2.png", "gfx/cereal3.png", "gfx/cereal4.png",
         "gfx/cereal5.png", "gfx/cereal6.png", "gfx/cereal7.png", "gfx/cereal8.png"},
    };
    for (const auto& family : families) {
        std::set<std::string> contents;
        const Surface first = load(family[0]);
        ASSERT_NE(first, nullptr);
        for (const std::string& file : family) {
            const Surface image = load(file);
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->w, first->w) << file;
            EXPECT_EQ(image->h, first->h) << file;
            contents.insert(file_bytes(file));
        }
        EXPECT_EQ(contents.size(), family.size()) << "two pictures of " << family[0] << "'s family are the same";
    }
}

// -- backdrops ----------------------------------------------------------------------------

TEST(Pictures, BackdropsCoverTheLargestScreenAtZoom10AndFadeAtTheirEdges)
{
    for (const char* file : {"gfx/sky0.png", "gfx/stone0.png"}) {
        const Surface image = load(file);
        ASSERT_NE(image, nullptr);
        const int need_w = static_cast<int>(std::ceil(HD_W / BACKDROP_ZOOM));
        const int need_h = static_cast<int>(std::ceil(HD_H / BACKDROP_ZOOM));
        ASSERT_GE(image->w, need_w) << file;
        ASSERT_GE(image->h, need_h) << file;
        int holes = 0;
        for (int y = (image->h - need_h) / 2; y < (image->h + need_h) / 2; ++y)
            for (int x = (image->w - need_w) / 2; x < (image->w + need_w) / 2; ++x)
                holes += alpha(image.get(), x, y) < OPAQUE;
        EXPECT_EQ(holes, 0) << file << ": see-through pixels in the part that fills the screen";
        // Shown small as a speck over itself, a backdrop must not show a hard rectangle.
        for (int x : {0, image->w / 2, image->w - 1})
            for (int y : {0, image->h / 2, image->h - 1}) {
                if (x == image->w / 2 && y == image->h / 2)
                    continue;   // the middle, which is meant to be solid
                EXPECT_LT(alpha(image.get(), x, y), SOLID) << file << " edge pixel " << x << "," << y;
            }
    }
}

// -- rings and where things stand ---------------------------------------------------------

TEST(Pictures, GrassJoinsIntoATurfRingOnThePlanetsRim)
{
    const Surface grass = load("gfx/grass.png");
    const Surface body = load("gfx/ground0.png");
    ASSERT_NE(grass, nullptr);
    ASSERT_NE(body, nullptr);
    const RingBand turf = continuous_band(grass.get(), GRASS_STEP);
    EXPECT_GE(turf.rows, RING_BAND_ROWS);
    const double rim = (body->h / 2 - highest_solid_row(body.get())) * PLANET_BODY_ZOOM;
    EXPECT_LT(turf.inner, rim) << "the turf must reach down over the planet body's edge";
    EXPECT_GT(turf.outer, rim) << "the planet body must not stick out above the turf";
}

TEST(Pictures, DomeFloorJoinsIntoAContinuousRing)
{
    const Surface floor = load("gfx/domefloor.png");
    ASSERT_NE(floor, nullptr);
    EXPECT_GE(continuous_band(floor.get(), FLOOR_STEP).rows, RING_BAND_ROWS);
}

TEST(Pictures, SocksFridgesTableAndBowlStandOnTheirGround)
{
    const Surface grass = load("gfx/grass.png");
    const Surface floor = load("gfx/domefloor.png");
    const Surface table = load("gfx/table.png");
    const Surface bowl = load("gfx/bowl.png");
    ASSERT_TRUE(grass && floor && table && bowl);
    const double turf_top = continuous_band(grass.get(), GRASS_STEP).outer;
    const double floor_top = continuous_band(floor.get(), FLOOR_STEP).outer;
    auto foot = [](SDL_Surface* image, double radius, double size) {
        return row_radius(image, radius, size, lowest_solid_row(image)) - size / 2;
    };
    for (const char* file : {"gfx/sockwalk.png", "gfx/sockyell0.png", "gfx/sockyell1.png"}) {
        const Surface sock = load(file);
        ASSERT_NE(sock, nullptr);
        const double sole = foot(sock.get(), SOCK_RADIUS, 1.0);
        EXPECT_GE(sole, turf_top - FOOTING) << file << " sinks into the soil";
        EXPECT_LE(sole, turf_top + 3 * FOOTING) << file << " floats above the grass";
    }
    for (const char* file : {"gfx/fridge-open.png", "gfx/fridge-closed.png"}) {
        const Surface fridge = load(file);
        ASSERT_NE(fridge, nullptr);
        EXPECT_NEAR(foot(fridge.get(), FRIDGE_RADIUS, 1.0), floor_top, FOOTING) << file;
    }
    EXPECT_NEAR(foot(table.get(), TABLE_RADIUS, 1.0), floor_top, FOOTING);
    const double table_top = row_radius(table.get(), TABLE_RADIUS, 1.0, highest_solid_row(table.get())) + 0.5;
    EXPECT_NEAR(foot(bowl.get(), TABLE_RADIUS + TABLE_BOWL_Y, BOWL_ZOOM), table_top, FOOTING);
}

TEST(Pictures, ShrubsRiseFromBehindTheTurf)
{
    const Surface grass = load("gfx/grass.png");
    ASSERT_NE(grass, nullptr);
    const double turf_top = continuous_band(grass.get(), GRASS_STEP).outer;
    const struct { double radius, scale; } layers[] = {{FAR_SHRUB_RADIUS, FAR_LAYER_SCALE},
                                                       {NEAR_SHRUB_RADIUS, NEAR_LAYER_SCALE}};
    for (const char* file : {"gfx/shrub0.png", "gfx/shrub1.png", "gfx/shrub2.png"}) {
        const Surface shrub = load(file);
        ASSERT_NE(shrub, nullptr);
        for (const auto& layer : layers) {
            const double base = row_radius(shrub.get(), layer.radius, layer.scale, shrub->h - 1, layer.scale);
            const double crown = row_radius(shrub.get(), layer.radius, layer.scale, highest_solid_row(shrub.get()),
                                            layer.scale);
            EXPECT_LT(base, turf_top) << file << " at scale " << layer.scale << ": its cut-off base shows";
            EXPECT_GT(crown, turf_top + SHRUB_SHOWING) << file << " at scale " << layer.scale << " hides in the grass";
        }
    }
}

// -- towers and text dots -----------------------------------------------------------------

TEST(Pictures, PipeSegmentsAndDomeJoinIntoOneColumn)
{
    const Surface pipe = load("gfx/pipe.png");
    const Surface dome = load("gfx/dome.png");
    ASSERT_NE(pipe, nullptr);
    ASSERT_NE(dome, nullptr);
    EXPECT_GE(column_extent(pipe.get(), pipe->w / 2, OPAQUE) * PIPE_FULL_ZOOM, -PIPE_STEP_Y)
        << "gaps between pipe segments";
    EXPECT_EQ(alpha(pipe.get(), pipe->w / 2, 0), OPAQUE);
    EXPECT_EQ(alpha(pipe.get(), pipe->w / 2, pipe->h - 1), OPAQUE);
    // With the dome at radius 0: its stem's lowest pixel must reach the first pipe's top.
    int stem_end = dome->h - 1;
    while (stem_end > 0 && alpha(dome.get(), dome->w / 2, stem_end) < OPAQUE)
        --stem_end;
    const double stem_foot = row_radius(dome.get(), 0, 1.0, stem_end) - 0.5;
    const double first_pipe_top = row_radius(pipe.get(), TOWER_FIRST_PIPE_Y, PIPE_FULL_ZOOM, 0) + PIPE_FULL_ZOOM / 2;
    EXPECT_LE(stem_foot, first_pipe_top) << "a gap between the dome and its first pipe";
}

TEST(Pictures, TextDotsAreRoundAndStaySeparateAtTheirPeakZoom)
{
    const Surface dot = load("gfx/textdot.png");
    ASSERT_NE(dot, nullptr);
    int widest = 0;
    for (int y = 0; y < dot->h; ++y)
        widest = std::max(widest, longest_run(dot.get(), y, 1));
    const int tallest = column_extent(dot.get(), dot->w / 2, 1);
    EXPECT_GT(widest, 0);
    EXPECT_LT(widest * TEXT_DOT_PEAK_ZOOM, DOT_SPACING) << "neighbouring dots run together";
    EXPECT_NEAR(widest, tallest, 2) << "the dot is not round";
    EXPECT_EQ(alpha(dot.get(), dot->w / 2, dot->h / 2), OPAQUE) << "the dot's middle is not solid";
}

// -- dot font -----------------------------------------------------------------------------

TEST(Pictures, FontCutsIntoOneDistinctGlyphPerCharacter)
{
    const Surface font = load(FONT_FILE);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->h, GLYPH_SIZE);
    const int cells = font->w / GLYPH_PITCH + (font->w % GLYPH_PITCH == GLYPH_SIZE ? 1 : 0);
    ASSERT_EQ(cells, CHARMAP_LENGTH);
    const int space = static_cast<int>(std::string(charmap).find(' '));
    std::set<std::string> seen;
    for (int k = 0; k < cells; ++k) {
        const std::string pattern = glyph_pattern(font.get(), k);
        const bool empty = pattern.find('#') == std::string::npos;
        EXPECT_EQ(empty, k == space) << "glyph of '" << charmap[k] << "'";
        EXPECT_TRUE(seen.insert(pattern).second) << "glyph of '" << charmap[k] << "' repeats an earlier one";
    }
}

TEST(Pictures, FontPixelsAreOpaqueWhiteOrFullyTransparent)
{
    const Surface font = load(FONT_FILE);
    ASSERT_NE(font, nullptr);
    int stray = 0;
    for (int y = 0; y < font->h; ++y)
        for (int x = 0; x < font->w; ++x) {
            const SDL_Color c = rgba(font.get(), x, y);
            const bool dot = c.r == 255 && c.g == 255 && c.b == 255 && c.unused == 255;
            const bool clear = c.unused == 0;
            stray += !(dot || clear);
        }
    EXPECT_EQ(stray, 0);
}

// -- the generator ------------------------------------------------------------------------

TEST(Generator, TwoRunsWriteTheSameBytes)
{
    const fs::path base = fs::temp_directory_path() / ("assetgen-twice-" + std::to_string(getpid()));
    const fs::path first = base / "first", second = base / "second";
    fs::create_directories(first);
    fs::create_directories(second);
    for (const fs::path& run : {first, second})
        ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " " + run.string()).c_str()), 0) << run;
    const auto one = tree_contents(first), two = tree_contents(second);
    ASSERT_EQ(one.size(), two.size());
    for (size_t k = 0; k < one.size(); ++k) {
        EXPECT_EQ(one[k].first, two[k].first);
        EXPECT_TRUE(one[k].second == two[k].second) << one[k].first << " differs between runs";
    }
    for (const std::string& file : gfxfiles)
        EXPECT_TRUE(fs::exists(first / file)) << file;
    fs::remove_all(base);
}

}  // namespace
