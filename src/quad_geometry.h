// Where a placed quad lands: the mapping between the screen and its sprite's texels, both ways,
// and the screen boxes it can reach.
#ifndef QUAD_GEOMETRY_H
#define QUAD_GEOMETRY_H

#include "sprite_alpha.h"

// Pixels of slack on each side of every screen box worked out from texel positions: covers the
// difference between double arithmetic and the rasteriser's float and fixed-point arithmetic.
constexpr double PIXEL_SLACK = 1.0;

// One quad as the quad functions place it: the model-view matrix is scale s, then a translation
// to (tx, ty), then a turn of `turn` degrees; the sprite's whole image is mapped onto the integer
// rectangle around the anchor (ax, ay), mirrored left to right with `flip`.
struct PlacedQuad {
    int sprite = 0;
    int w = 0, h = 0;   // the sprite's image size
    float s = 1.0f;
    float tx = 0.0f, ty = 0.0f;
    float turn = 0.0f;
    int ax = 0, ay = 0;
    bool flip = false;
};

// Whether two placements draw the very same quad.
bool same_quad(const PlacedQuad& a, const PlacedQuad& b);

// The texture coordinates (u across, v down, in texels) the quad puts on the screen point (x, y).
void quad_texture_at(const PlacedQuad& quad, double x, double y, double& u, double& v);

// The screen point the quad puts the texture coordinates (u, v) on.
void quad_screen_at(const PlacedQuad& quad, double u, double v, double& x, double& y);

// Whether a box holds no point.
bool empty(const Box& b);

// The texture coordinates that on-screen fragments of the quad may have, or an empty box.
Box on_screen_texture(const PlacedQuad& q);

// Whether the quad covers the whole screen, with slack on every side.
bool covers_screen(const PlacedQuad& q);

// The whole screen pixels outside which no fragment of the quad can read a texel of `seen` (the
// sprite's texels with alpha above 0); false when there are none.
bool visible_pixels(const PlacedQuad& q, const IntBox& seen, IntBox& pixels);

// The pixels of the screen within the quad's bounding box.
double on_screen_pixels(const PlacedQuad& q);

// The share of the screen the quad's bounding box covers.
double screen_share(const PlacedQuad& q);

// The whole pixel columns whose centres the unturned quad maps into texture columns u0 to u1;
// grown (or, with a negative `grow`, shrunk) by `grow` pixels on each side.
void columns_of(const PlacedQuad& q, double u0, double u1, double grow, int& x0, int& x1);

#endif
