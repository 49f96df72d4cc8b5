// What a sprite's alpha channel shows, worked out once from the pixels uploaded into its texture:
// which texels are opaque, which fully transparent, and which texels linear filtering reads for a
// range of texture coordinates. Pure arithmetic on the pixels, without OpenGL.
#ifndef SPRITE_ALPHA_H
#define SPRITE_ALPHA_H

#include <cstdint>
#include <vector>

// Texels of slack on each side of every texel range worked out from texture coordinates: covers
// the difference between double arithmetic and the rasteriser's float and fixed-point arithmetic.
constexpr int TEXEL_SLACK = 1;

// A box of whole texels or whole pixels, ends included.
struct IntBox {
    int x0, y0, x1, y1;
};

// An axis-aligned box of the plane, x0 <= x1 and y0 <= y1 unless empty.
struct Box {
    double x0, y0, x1, y1;
};

// Where one texel row of a sprite, or a band of rows, has something to show.
struct RowSpans {
    int seen_left = 0, seen_right = -1;       // first and last texel with alpha above 0; none when left > right
    int opaque_left = 0, opaque_right = -1;   // its longest run of opaque texels; none when left > right
};

// What is known of one sprite's alpha channel.
struct SpriteAlpha {
    bool known = false;
    int w = 0, h = 0;
    std::vector<uint32_t> unopaque;   // summed-area table of texels with alpha below 255, (w + 1) x (h + 1)
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;   // the smallest texel box holding every texel with alpha above 0
    std::vector<RowSpans> rows;             // per texel row, top to bottom
};

// The alpha record of a w x h image of `bytes_per_pixel` bytes a pixel (4: RGBA; 3: RGB, all
// opaque) whose rows start at multiples of OpenGL's default unpack alignment, as uploaded.
SpriteAlpha analyse_sprite_alpha(const uint8_t* pixels, int w, int h, int bytes_per_pixel);

// `v` rounded down to a whole number, held within the int range; not-a-number counts as huge.
int whole_below(double v);

// `v` rounded up to a whole number, held within the int range like whole_below.
int whole_above(double v);

// The texels linear filtering may read for texture coordinates in `b` (texels, not normalised),
// with TEXEL_SLACK around them, clamped to a w x h image.
IntBox texels_read(const Box& b, int w, int h);

// Whether every texel of `box` (within the image) is opaque.
bool all_opaque(const SpriteAlpha& a, const IntBox& box);

// What texel rows y0 to y1 show together: the widest seen span, and the opaque run all of them share.
RowSpans band_spans(const SpriteAlpha& a, int y0, int y1);

#endif
