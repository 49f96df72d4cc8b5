// Surface bytes: the font fuzzer's input form must rebuild a real font image exactly, and must
// refuse headers whose pixels would not fit the input.
#include "surface_bytes.h"

#include "font.h"
#include "showfiles.h"
#include "testsupport.h"

#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr const char* FONT_IMAGE = FONT_FILE;   // the generated font, in the run folder

// The surface bytes of a `width` x `height` surface of `depth` choice with a pitch of `pitch`,
// mask choice 1 (alpha), and `pixel_bytes` bytes of pixels.
std::vector<uint8_t> header(int width, int height, uint8_t depth_choice, int pitch, std::size_t pixel_bytes)
{
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(width),  static_cast<uint8_t>(width >> 8),
                                  static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8),
                                  depth_choice,                 1,
                                  static_cast<uint8_t>(pitch),  static_cast<uint8_t>(pitch >> 8)};
    bytes.resize(bytes.size() + pixel_bytes, 0xFF);
    return bytes;
}

// The glyphs parsed from `image`, as the show parses its font.
std::vector<DOTCHAR> glyphs_of(SDL_Surface* image)
{
    TraceSilencer quiet;
    DOTFONT font;
    font.parseimage(image, GLYPH_SIZE, GLYPH_SIZE, GLYPH_PITCH - GLYPH_SIZE);
    return font.chars;
}

TEST(SurfaceBytes, FontImageSurvivesTheRoundTrip)
{
    SDL_Surface* image = IMG_Load(FONT_IMAGE);
    ASSERT_NE(image, nullptr) << IMG_GetError();
    const std::vector<uint8_t> bytes = surface_to_bytes(image);
    ASSERT_EQ(bytes.size(), SURFACE_HEADER + static_cast<std::size_t>(image->pitch) * image->h);

    const BytesSurface rebuilt(bytes.data(), bytes.size());
    ASSERT_NE(rebuilt.get(), nullptr);
    SDL_Surface* copy = rebuilt.get();
    EXPECT_EQ(copy->w, image->w);
    EXPECT_EQ(copy->h, image->h);
    EXPECT_EQ(copy->pitch, image->pitch);
    EXPECT_EQ(copy->format->BitsPerPixel, image->format->BitsPerPixel);
    EXPECT_EQ(copy->format->Amask, image->format->Amask);
    EXPECT_EQ(std::memcmp(copy->pixels, image->pixels, static_cast<std::size_t>(image->pitch) * image->h), 0);

    // The font the fuzzer parses from the seed is the show's font.
    const std::vector<DOTCHAR> expected = glyphs_of(image);
    const std::vector<DOTCHAR> parsed = glyphs_of(copy);
    ASSERT_EQ(parsed.size(), expected.size());
    ASSERT_GE(parsed.size(), static_cast<std::size_t>(CHARMAP_LENGTH));
    for (std::size_t k = 0; k < parsed.size(); ++k)
        EXPECT_EQ(std::memcmp(parsed[k].dots, expected[k].dots, sizeof parsed[k].dots), 0) << "glyph " << k;
    SDL_FreeSurface(image);
}

TEST(SurfaceBytes, EveryDepthAndPaddedPitchIsBuilt)
{
    const int depths[] = {8, 16, 24, 32};
    for (uint8_t choice = 0; choice < 4; ++choice) {
        const int pitch = 3 * depths[choice] / 8 + 5;   // three pixels and five bytes of padding
        const std::vector<uint8_t> bytes = header(3, 2, choice, pitch, 2 * pitch);
        const BytesSurface surface(bytes.data(), bytes.size());
        ASSERT_NE(surface.get(), nullptr) << depths[choice];
        EXPECT_EQ(surface.get()->format->BitsPerPixel, depths[choice]);
        EXPECT_EQ(surface.get()->pitch, pitch);
    }
}

TEST(SurfaceBytes, InconsistentHeadersMakeNoSurface)
{
    const std::vector<uint8_t> short_header(SURFACE_HEADER - 1, 1);
    const std::vector<uint8_t> too_few_pixels = header(4, 4, 3, 16, 16 * 4 - 1);
    const std::vector<uint8_t> pitch_below_row = header(4, 4, 3, 15, 15 * 4);
    const std::vector<uint8_t> no_width = header(0, 4, 3, 16, 16 * 4);
    const std::vector<uint8_t> no_height = header(4, 0, 3, 16, 0);
    for (const auto* bytes : {&short_header, &too_few_pixels, &pitch_below_row, &no_width, &no_height}) {
        const BytesSurface surface(bytes->data(), bytes->size());
        EXPECT_EQ(surface.get(), nullptr);
    }
}

}
