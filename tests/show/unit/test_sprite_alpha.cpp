// The sprites' alpha analysis, from pixels as OpenGL reads them: what is seen, what is opaque,
// and which texels linear filtering reads for a range of texture coordinates.
#include "sprite_alpha.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr uint8_t PARTIAL = 128;   // any alpha strictly between transparent and opaque
constexpr uint8_t PADDING = 77;    // bytes past a row's end, which the analysis must not read

// RGBA pixels from rows of '.' (alpha 0), '+' (partial) and '#' (255), each row padded to 4 bytes.
std::vector<uint8_t> rgba(const std::vector<std::string>& rows)
{
    std::vector<uint8_t> pixels;
    for (const std::string& row : rows)
        for (char c : row)
            pixels.insert(pixels.end(), {1, 2, 3, uint8_t(c == '.' ? 0 : c == '+' ? PARTIAL : 255)});
    return pixels;
}

struct SpansCase {
    const char* name;
    std::vector<std::string> rows;
    IntBox seen;                // the seen box; x1 < x0 when nothing is seen
    std::vector<RowSpans> spans;
};

TEST(SpriteAlpha, SeenBoxAndRowSpans)
{
    const std::vector<SpansCase> cases = {
        {"all transparent", {"...", "..."}, {3, 2, -1, -1}, {{3, -1, 0, -1}, {3, -1, 0, -1}}},
        {"partial texels are seen, not opaque", {".++.", "+##."}, {0, 0, 2, 1}, {{1, 2, 0, -1}, {0, 2, 1, 2}}},
        {"opaque at both edges: the first longest run", {"#..#", "##.#"}, {0, 0, 3, 1}, {{0, 3, 0, 0}, {0, 3, 0, 1}}},
        {"one texel", {"#"}, {0, 0, 0, 0}, {{0, 0, 0, 0}}},
    };
    for (const SpansCase& c : cases) {
        const int w = static_cast<int>(c.rows[0].size()), h = static_cast<int>(c.rows.size());
        const SpriteAlpha a = analyse_sprite_alpha(rgba(c.rows).data(), w, h, 4);
        EXPECT_TRUE(a.known) << c.name;
        EXPECT_EQ(std::vector<int>({a.x0, a.y0, a.x1, a.y1}), std::vector<int>({c.seen.x0, c.seen.y0, c.seen.x1, c.seen.y1})) << c.name;
        for (int y = 0; y < h; ++y) {
            const RowSpans& got = a.rows[y];
            const RowSpans& want = c.spans[y];
            EXPECT_EQ(std::vector<int>({got.seen_left, got.seen_right, got.opaque_left, got.opaque_right}),
                      std::vector<int>({want.seen_left, want.seen_right, want.opaque_left, want.opaque_right}))
                << c.name << ", row " << y;
        }
    }
}

TEST(SpriteAlpha, OpaqueBoxesFromTheSummedTable)
{
    const SpriteAlpha a = analyse_sprite_alpha(rgba({"###.", "##+#", "####"}).data(), 4, 3, 4);
    const std::vector<std::pair<IntBox, bool>> cases = {
        {{0, 0, 1, 2}, true},  {{0, 0, 3, 0}, false}, {{2, 1, 2, 1}, false},   // a partial texel alone
        {{3, 1, 3, 2}, true},  {{0, 2, 3, 2}, true},  {{0, 0, 3, 2}, false},
    };
    for (const auto& [box, opaque] : cases)
        EXPECT_EQ(all_opaque(a, box), opaque) << box.x0 << "," << box.y0 << " to " << box.x1 << "," << box.y1;
}

TEST(SpriteAlpha, ThreeBytePixelsAreOpaqueAndRowsArePadded)
{
    // 3 x 2 pixels of 3 bytes: rows of 9 bytes start 12 bytes apart; the padding would read as alpha.
    std::vector<uint8_t> pixels(24, PADDING);
    const SpriteAlpha a = analyse_sprite_alpha(pixels.data(), 3, 2, 3);
    EXPECT_TRUE(all_opaque(a, {0, 0, 2, 1}));
    EXPECT_EQ(a.rows[1].opaque_right, 2);
    EXPECT_FALSE(analyse_sprite_alpha(pixels.data(), 0, 2, 3).known);
}

TEST(SpriteAlpha, LinearFilteringReadsBothNeighboursWithSlack)
{
    constexpr int W = 8, H = 6;
    struct ReadCase {
        Box coordinates;
        IntBox texels;
    } cases[] = {
        {{2.5, 3.5, 2.5, 3.5}, {1, 2, 3 + TEXEL_SLACK, 4 + TEXEL_SLACK}},   // a texel centre: itself and the next
        {{3.0, 1.0, 3.0, 1.0}, {1, 0, 4, 2}},                               // between texels 2 and 3, 0 and 1
        {{0.0, 0.0, 0.2, 0.2}, {0, 0, 1, 1}},                               // the top left edge, clamped
        {{7.6, 5.9, 8.0, 6.0}, {6, 4, W - 1, H - 1}},                       // the bottom right edge, clamped
        {{-40.0, -40.0, 99.0, 99.0}, {0, 0, W - 1, H - 1}},                 // beyond the image on every side
    };
    for (const ReadCase& c : cases) {
        const IntBox got = texels_read(c.coordinates, W, H);
        EXPECT_EQ(std::vector<int>({got.x0, got.y0, got.x1, got.y1}),
                  std::vector<int>({c.texels.x0, c.texels.y0, c.texels.x1, c.texels.y1}))
            << c.coordinates.x0 << "," << c.coordinates.y0;
    }
}

TEST(SpriteAlpha, BandsJoinWhatIsSeenAndShareWhatIsOpaque)
{
    const SpriteAlpha a = analyse_sprite_alpha(rgba({"..##..", ".####.", "+###.."}).data(), 6, 3, 4);
    const RowSpans band = band_spans(a, 0, 2);
    EXPECT_EQ(std::vector<int>({band.seen_left, band.seen_right, band.opaque_left, band.opaque_right}),
              std::vector<int>({0, 4, 2, 3}));
    const RowSpans top = band_spans(a, 0, 0);
    EXPECT_EQ(std::vector<int>({top.opaque_left, top.opaque_right}), std::vector<int>({2, 3}));
}

}  // namespace
