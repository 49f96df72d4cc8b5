#include "sprite_alpha.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr uint8_t OPAQUE_ALPHA = 255;   // the only alpha at which blending leaves the source unchanged
constexpr int UNPACK_ALIGNMENT = 4;     // OpenGL's default row alignment when it read the uploaded pixels
// Positions are held within this before they become ints: far beyond any screen or image, far
// within the int range.
constexpr double FAR_AWAY = 1e9;

// The alpha of texel x of a row: three bytes a pixel were uploaded as GL_RGB, every texel opaque.
uint8_t alpha_at(const uint8_t* row, int x, int bytes_per_pixel)
{
    return bytes_per_pixel == 4 ? row[x * 4 + 3] : OPAQUE_ALPHA;
}

}  // namespace

// One pass over the texels: the summed-area table, the seen box and each row's spans.
SpriteAlpha analyse_sprite_alpha(const uint8_t* pixels, int w, int h, int bytes_per_pixel)
{
    SpriteAlpha a;
    if (!pixels || w <= 0 || h <= 0)
        return a;
    // OpenGL read rows of w pixels, each row starting at a multiple of its unpack alignment.
    const size_t stride = (static_cast<size_t>(w) * bytes_per_pixel + UNPACK_ALIGNMENT - 1) / UNPACK_ALIGNMENT *
                          UNPACK_ALIGNMENT;
    a.w = w;
    a.h = h;
    const size_t row = static_cast<size_t>(a.w) + 1;
    a.unopaque.assign(row * (a.h + 1), 0);
    a.x0 = a.w;
    a.y0 = a.h;
    a.rows.assign(a.h, RowSpans());
    for (int y = 0; y < a.h; ++y) {
        uint32_t unopaque_so_far = 0;
        int run_start = 0;
        RowSpans& spans = a.rows[y];
        spans.seen_left = a.w;
        for (int x = 0; x < a.w; ++x) {
            const uint8_t alpha = alpha_at(pixels + y * stride, x, bytes_per_pixel);
            unopaque_so_far += alpha < OPAQUE_ALPHA;
            a.unopaque[(y + 1) * row + x + 1] = a.unopaque[y * row + x + 1] + unopaque_so_far;
            if (alpha < OPAQUE_ALPHA) {
                run_start = x + 1;
            } else if (x - run_start > spans.opaque_right - spans.opaque_left) {
                spans.opaque_left = run_start;
                spans.opaque_right = x;
            }
            if (alpha > 0) {
                spans.seen_left = std::min(spans.seen_left, x);
                spans.seen_right = x;
                a.x0 = std::min(a.x0, x);
                a.y0 = std::min(a.y0, y);
                a.x1 = std::max(a.x1, x);
                a.y1 = std::max(a.y1, y);
            }
        }
    }
    a.known = true;
    return a;
}

// A quad at a huge or tiny scale maps far beyond the int range: held within FAR_AWAY first.
int whole_below(double v)
{
    return static_cast<int>(std::floor(std::max(-FAR_AWAY, std::min(FAR_AWAY, v))));
}

// Rounded up, held like whole_below.
int whole_above(double v)
{
    return static_cast<int>(std::ceil(std::max(-FAR_AWAY, std::min(FAR_AWAY, v))));
}

// A coordinate u blends texels floor(u - 0.5) and the one after it, each clamped to the edge.
IntBox texels_read(const Box& b, int w, int h)
{
    return {std::max(0, whole_below(b.x0 - 0.5) - TEXEL_SLACK), std::max(0, whole_below(b.y0 - 0.5) - TEXEL_SLACK),
            std::min(w - 1, whole_below(b.x1 - 0.5) + 1 + TEXEL_SLACK),
            std::min(h - 1, whole_below(b.y1 - 0.5) + 1 + TEXEL_SLACK)};
}

// Four reads of the summed-area table: the box holds no texel below full alpha.
bool all_opaque(const SpriteAlpha& a, const IntBox& box)
{
    const size_t row = static_cast<size_t>(a.w) + 1;
    auto at = [&](int x, int y) { return a.unopaque[static_cast<size_t>(y) * row + x]; };
    return at(box.x1 + 1, box.y1 + 1) - at(box.x0, box.y1 + 1) - at(box.x1 + 1, box.y0) + at(box.x0, box.y0) == 0;
}

// The union of the rows' seen spans and the intersection of their opaque runs.
RowSpans band_spans(const SpriteAlpha& a, int y0, int y1)
{
    RowSpans band = {a.w, -1, 0, a.w - 1};
    for (int r = y0; r <= y1; ++r) {
        const RowSpans& spans = a.rows[r];
        band.seen_left = std::min(band.seen_left, spans.seen_left);
        band.seen_right = std::max(band.seen_right, spans.seen_right);
        band.opaque_left = std::max(band.opaque_left, spans.opaque_left);
        band.opaque_right = std::min(band.opaque_right, spans.opaque_right);
    }
    return band;
}
