// The dot font: which characters it has, how many glyphs an image gives, what counts as
// a dot, and that odd images are read safely.
#include "entity_testing.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

// Parses `image` with the show's cell and spacing into a new font.
DOTFONT parsed(SDL_Surface* image)
{
    TraceSilencer quiet;
    DOTFONT font;
    font.parseimage(image, GLYPH_SIZE, GLYPH_SIZE, GLYPH_PITCH - GLYPH_SIZE);
    return font;
}

// Whether every dot of `glyph` is unset.
bool is_blank(const DOTCHAR& glyph)
{
    for (const auto& column : glyph.dots)
        for (bool dot : column)
            if (dot)
                return false;
    return true;
}

// --- Characters --------------------------------------------------------------------------

TEST(FontCharacters, FindcharGivesThePositionInTheCharacterOrder)
{
    DOTFONT empty;
    EXPECT_EQ(empty.findchar('A'), 0);
    EXPECT_EQ(empty.findchar('Z'), 25);
    EXPECT_EQ(empty.findchar('a'), 26);
    EXPECT_EQ(empty.findchar('['), 52);
    EXPECT_EQ(empty.findchar(' '), 57);
    EXPECT_EQ(empty.findchar('!'), 60);
    EXPECT_EQ(empty.findchar('-'), 77);
    EXPECT_EQ(empty.findchar('~'), 81);
    EXPECT_EQ(empty.findchar('0'), 82);
    EXPECT_EQ(empty.findchar('9'), 91);
}

TEST(FontCharacters, EveryCharacterHasItsOwnGlyph)
{
    DOTFONT font;
    for (int k = 0; k < CHARMAP_LENGTH; ++k)
        EXPECT_EQ(font.findchar(charmap[k]), k) << "'" << charmap[k] << "'";
    EXPECT_EQ(charmap[CHARMAP_LENGTH], '\0');
}

TEST(FontCharacters, CharactersOutsideTheFontAreNotFound)
{
    DOTFONT font;
    for (char c : {'|', '`', '\n', '\r', '\t', '\0', ';'})
        EXPECT_EQ(font.findchar(c), -1) << static_cast<int>(c);
    for (int byte = 128; byte < 256; ++byte)
        EXPECT_EQ(font.findchar(static_cast<char>(byte)), -1) << byte;
}

// --- Parsing ----------------------------------------------------------------------------

TEST(FontParsing, CellCountAllowsTheLastCellItsGapMissing)
{
    const struct {
        int width;
        size_t glyphs;
    } cases[] = {{550, 91}, {551, 92}, {552, 92}, {557, 93}, {5, 1}, {4, 0}};
    for (const auto& c : cases) {
        SDL_Surface* image = blank_font_image(c.width, GLYPH_SIZE);
        EXPECT_EQ(parsed(image).chars.size(), c.glyphs) << "width " << c.width;
        SDL_FreeSurface(image);
    }
}

TEST(FontParsing, ParsingAppendsToTheGlyphsAlreadyThere)
{
    SDL_Surface* image = blank_font_image(551, GLYPH_SIZE);
    TraceSilencer quiet;
    DOTFONT font;
    font.parseimage(image, GLYPH_SIZE, GLYPH_SIZE, 1);
    font.parseimage(image, GLYPH_SIZE, GLYPH_SIZE, 1);
    EXPECT_EQ(font.chars.size(), 184u);
    SDL_FreeSurface(image);
}

TEST(FontParsing, DotsComeFromTheirOwnCellOnly)
{
    SDL_Surface* image = blank_font_image(552, 8);
    constexpr int CELL = 3;   // the marked glyph
    for (int i = 0; i < GLYPH_SIZE; ++i) {
        put_pixel(image, CELL * GLYPH_PITCH + i, 0, OPAQUE_WHITE);   // top row
        put_pixel(image, CELL * GLYPH_PITCH, i, OPAQUE_WHITE);       // left column
    }
    for (int x = 0; x < 552; ++x)
        put_pixel(image, x, 6, OPAQUE_WHITE);   // below the cells: never read
    for (int k = 0; k < 92; ++k)
        for (int y = 0; y < GLYPH_SIZE; ++y)
            put_pixel(image, k * GLYPH_PITCH + GLYPH_SIZE, y, OPAQUE_WHITE);   // the gaps: never read
    DOTFONT font = parsed(image);
    ASSERT_EQ(font.chars.size(), 92u);
    for (int c = 0; c < GLYPH_SIZE; ++c)
        for (int r = 0; r < GLYPH_SIZE; ++r)
            EXPECT_EQ(font.chars[CELL].dots[c][r], c == 0 || r == 0) << "column " << c << " row " << r;
    for (int k = 0; k < 92; ++k) {
        if (k != CELL) {
            EXPECT_TRUE(is_blank(font.chars[k])) << "glyph " << k;
        }
    }
    SDL_FreeSurface(image);
}

TEST(FontParsing, OnlyOpaqueWhiteIsADot)
{
    const struct {
        Uint32 pixel;
        bool dot;
    } cases[] = {
        {0xFFFFFFFF, true},
        {0xFEFFFFFF, false},   // alpha 254
        {0x00FFFFFF, false},   // transparent white
        {0xFFFFFFFE, false},
        {0xFFFF00FF, false},
        {0xFF808080, false},
    };
    for (const auto& c : cases) {
        SDL_Surface* image = blank_font_image(GLYPH_SIZE, GLYPH_SIZE);
        put_pixel(image, 2, 2, c.pixel);
        DOTFONT font = parsed(image);
        ASSERT_EQ(font.chars.size(), 1u);
        EXPECT_EQ(font.chars[0].dots[2][2], c.dot) << std::hex << c.pixel;
        SDL_FreeSurface(image);
    }
}

TEST(FontParsing, EachGlyphRowEndsAnEmptyLine)
{
    SDL_Surface* image = blank_font_image(552, GLYPH_SIZE);
    DOTFONT font;
    TraceCapture trace;
    font.parseimage(image, GLYPH_SIZE, GLYPH_SIZE, 1);
    EXPECT_EQ(trace.text(), std::string(92 * 5, '\n'));
    SDL_FreeSurface(image);
}

TEST(FontParsing, MissingImageLeavesTheFontAsItWas)
{
    DOTFONT font;
    font.chars.resize(3);
    TraceCapture trace;
    font.parseimage(nullptr, GLYPH_SIZE, GLYPH_SIZE, 1);
    EXPECT_EQ(trace.text(), "Invalid image.\n");
    EXPECT_EQ(font.chars.size(), 3u);
}

// --- Odd images ------------------------------------------------------------------------------

// Pixel memory that ends exactly where an unreadable page begins, so that any read past
// the end stops the test at once.
class GuardedPixels {
public:
    explicit GuardedPixels(size_t bytes) : page(sysconf(_SC_PAGESIZE))
    {
        const size_t readable = (bytes + page - 1) / page * page;
        length = readable + page;
        base = static_cast<Uint8*>(mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        mprotect(base + readable, page, PROT_NONE);
        start = base + readable - bytes;
    }
    ~GuardedPixels() { munmap(base, length); }
    GuardedPixels(const GuardedPixels&) = delete;
    GuardedPixels& operator=(const GuardedPixels&) = delete;

    Uint8* data() { return start; }

private:
    size_t page;
    size_t length;
    Uint8* base;
    Uint8* start;
};

// Fills the top row of cell `cell` of a 32-bit image in `pixels` (rows `pitch` bytes apart).
void mark_top_row(Uint8* pixels, int cell)
{
    for (int c = 0; c < GLYPH_SIZE; ++c)
        std::memcpy(pixels + (cell * GLYPH_PITCH + c) * 4, &OPAQUE_WHITE, 4);
}

TEST(FontOddImages, ShortImageReadsNothingBelowItsLastRow)
{
    constexpr int WIDTH = 551;   // a full set of cells ...
    constexpr int HEIGHT = 1;    // ... only one pixel high
    GuardedPixels memory(WIDTH * 4 * HEIGHT);
    std::memset(memory.data(), 0, WIDTH * 4 * HEIGHT);
    mark_top_row(memory.data(), 91);
    SDL_Surface* image = SDL_CreateRGBSurfaceFrom(memory.data(), WIDTH, HEIGHT, 32, WIDTH * 4, 0x00FF0000,
                                                  0x0000FF00, 0x000000FF, 0xFF000000);
    DOTFONT font = parsed(image);
    ASSERT_EQ(font.chars.size(), 92u);
    for (int c = 0; c < GLYPH_SIZE; ++c) {
        EXPECT_TRUE(font.chars[91].dots[c][0]);
        for (int r = 1; r < GLYPH_SIZE; ++r)
            EXPECT_FALSE(font.chars[91].dots[c][r]);
    }
    SDL_FreeSurface(image);
}

TEST(FontOddImages, PaddedRowsAreReadAtTheirPitch)
{
    constexpr int WIDTH = 11;                   // two cells
    constexpr int PITCH = WIDTH * 4 + 20;       // five pixels of padding after each row
    GuardedPixels memory(PITCH * GLYPH_SIZE);
    Uint8* pixels = memory.data();
    std::memset(pixels, 0xFF, PITCH * GLYPH_SIZE);   // padding is white: wrongly read it shows
    for (int r = 0; r < GLYPH_SIZE; ++r)
        for (int x = 0; x < WIDTH; ++x) {
            const Uint32 pixel = x == r ? OPAQUE_WHITE : 0;   // glyph 0: the diagonal
            std::memcpy(pixels + r * PITCH + x * 4, &pixel, 4);
        }
    SDL_Surface* image = SDL_CreateRGBSurfaceFrom(pixels, WIDTH, GLYPH_SIZE, 32, PITCH, 0x00FF0000, 0x0000FF00,
                                                  0x000000FF, 0xFF000000);
    DOTFONT font = parsed(image);
    ASSERT_EQ(font.chars.size(), 2u);
    for (int c = 0; c < GLYPH_SIZE; ++c)
        for (int r = 0; r < GLYPH_SIZE; ++r)
            EXPECT_EQ(font.chars[0].dots[c][r], c == r) << "column " << c << " row " << r;
    EXPECT_TRUE(is_blank(font.chars[1]));
    SDL_FreeSurface(image);
}

TEST(FontOddImages, ImagesOfOtherDepthsAreReadAsOpaqueColours)
{
    constexpr int INK = 200;   // a palette entry far from the first, so indices are not taken for colours
    // The background's colour in a palette: black, and a grey one step short of white.
    const struct {
        int depth;
        SDL_Color background;
    } cases[] = {{24, {}}, {8, {0, 0, 0, 0}}, {8, {254, 254, 254, 0}}};
    for (const auto& c : cases) {
        SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, 551, 3, c.depth, 0, 0, 0, 0);
        ASSERT_NE(image, nullptr);
        if (image->format->palette) {
            // Every entry is set: a new palette is all black in classic SDL but all white in SDL 2
            // (sdl12-compat), where the zeroed pixels would be white dots.
            std::vector<SDL_Color> colours(image->format->palette->ncolors, c.background);
            colours[INK] = {255, 255, 255, 0};
            SDL_SetColors(image, colours.data(), 0, static_cast<int>(colours.size()));
        }
        const Uint32 white = SDL_MapRGB(image->format, 255, 255, 255);
        SDL_Rect top_row = {0, 0, GLYPH_SIZE, 1};   // glyph 0's first row
        SDL_FillRect(image, &top_row, white);
        const int grey = c.background.r;
        DOTFONT font = parsed(image);
        ASSERT_EQ(font.chars.size(), 92u) << c.depth << " bits, background " << grey;
        for (int col = 0; col < GLYPH_SIZE; ++col) {
            EXPECT_TRUE(font.chars[0].dots[col][0]) << c.depth << " bits, background " << grey << ", column " << col;
            EXPECT_FALSE(font.chars[0].dots[col][1]) << c.depth << " bits, background " << grey << ", column " << col;
        }
        EXPECT_TRUE(is_blank(font.chars[1])) << c.depth << " bits, background " << grey;
        SDL_FreeSurface(image);
    }
}

}  // namespace
