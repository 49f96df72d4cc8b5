#include "quad_geometry.h"

#include "profile.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double RADIANS_PER_DEGREE = 3.14159265358979323846 / 180.0;   // glRotatef's degrees to radians

// The smallest box holding the four corners of `box` carried through `map`.
template <typename Map>
Box map_box(const Box& box, Map map)
{
    Box out = {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (double x : {box.x0, box.x1})
        for (double y : {box.y0, box.y1}) {
            double mx, my;
            map(x, y, mx, my);
            out = {std::min(out.x0, mx), std::min(out.y0, my), std::max(out.x1, mx), std::max(out.y1, my)};
        }
    return out;
}

// The screen, grown by `grow` pixels on every side.
Box screen_box(double grow)
{
    return {-grow, -grow, SCREEN_WIDTH + grow, SCREEN_HEIGHT + grow};
}

// The texture coordinates the quad puts on the screen and a pixel of slack around it.
Box screen_in_texture(const PlacedQuad& q)
{
    return map_box(screen_box(PIXEL_SLACK), [&](double x, double y, double& u, double& v) {
        quad_texture_at(q, x, y, u, v);
    });
}

}  // namespace

// Field by field: the fast path keys what it keeps by the quad shown.
bool same_quad(const PlacedQuad& a, const PlacedQuad& b)
{
    return a.sprite == b.sprite && a.w == b.w && a.h == b.h && a.s == b.s && a.tx == b.tx && a.ty == b.ty &&
           a.turn == b.turn && a.ax == b.ax && a.ay == b.ay && a.flip == b.flip;
}

// The inverse of the quad's model-view matrix, then its texture mapping.
void quad_texture_at(const PlacedQuad& q, double x, double y, double& u, double& v)
{
    const double bx = x / q.s - q.tx;
    const double by = y / q.s - q.ty;
    const double c = std::cos(q.turn * RADIANS_PER_DEGREE);
    const double sn = std::sin(q.turn * RADIANS_PER_DEGREE);
    const double vx = bx * c + by * sn;   // the turn undone
    const double vy = -bx * sn + by * c;
    u = q.flip ? q.ax - vx : vx + q.ax;
    v = vy + q.ay;
}

// The quad's texture mapping undone, then its model-view matrix.
void quad_screen_at(const PlacedQuad& q, double u, double v, double& x, double& y)
{
    const double vx = q.flip ? q.ax - u : u - q.ax;
    const double vy = v - q.ay;
    const double c = std::cos(q.turn * RADIANS_PER_DEGREE);
    const double sn = std::sin(q.turn * RADIANS_PER_DEGREE);
    x = q.s * (q.tx + vx * c - vy * sn);
    y = q.s * (q.ty + vx * sn + vy * c);
}

// Not-a-number ends count as empty too.
bool empty(const Box& b)
{
    return !(b.x0 < b.x1 && b.y0 < b.y1);
}

// The screen's texture coordinates clamped to the image.
Box on_screen_texture(const PlacedQuad& q)
{
    const Box seen = screen_in_texture(q);
    return {std::max(seen.x0, 0.0), std::max(seen.y0, 0.0), std::min(seen.x1, double(q.w)),
            std::min(seen.y1, double(q.h))};
}

// The screen and its slack map inside the image.
bool covers_screen(const PlacedQuad& q)
{
    const Box seen = screen_in_texture(q);
    return seen.x0 >= 0 && seen.y0 >= 0 && seen.x1 <= q.w && seen.y1 <= q.h;
}

// The seen texels' reach carried to the screen, with slack, clamped to it.
bool visible_pixels(const PlacedQuad& q, const IntBox& seen, IntBox& pixels)
{
    if (seen.x1 < seen.x0)
        return false;
    // Coordinates from x0 - 0.5 to x1 + 1.5 read one of the texels x0 to x1; slack around that.
    const Box texture = {seen.x0 - 0.5 - TEXEL_SLACK, seen.y0 - 0.5 - TEXEL_SLACK, seen.x1 + 1.5 + TEXEL_SLACK,
                         seen.y1 + 1.5 + TEXEL_SLACK};
    const Box screen = map_box(texture, [&](double u, double v, double& x, double& y) {
        quad_screen_at(q, u, v, x, y);
    });
    pixels = {std::max(0, whole_below(screen.x0 - PIXEL_SLACK)), std::max(0, whole_below(screen.y0 - PIXEL_SLACK)),
              std::min(SCREEN_WIDTH - 1, whole_above(screen.x1 + PIXEL_SLACK)),
              std::min(SCREEN_HEIGHT - 1, whole_above(screen.y1 + PIXEL_SLACK))};
    return pixels.x0 <= pixels.x1 && pixels.y0 <= pixels.y1;
}

// The image's corners carried to the screen, the box clipped to it.
double on_screen_pixels(const PlacedQuad& q)
{
    const Box whole = {0.0, 0.0, double(q.w), double(q.h)};
    const Box b = map_box(whole, [&](double u, double v, double& x, double& y) { quad_screen_at(q, u, v, x, y); });
    const double w = std::min(b.x1, double(SCREEN_WIDTH)) - std::max(b.x0, 0.0);
    const double h = std::min(b.y1, double(SCREEN_HEIGHT)) - std::max(b.y0, 0.0);
    return w > 0 && h > 0 ? w * h : 0.0;
}

// The bounding box's pixels over the screen's.
double screen_share(const PlacedQuad& q)
{
    return on_screen_pixels(q) / (double(SCREEN_WIDTH) * SCREEN_HEIGHT);
}

// Both ends carried to the screen along the top row; a pixel's centre lies half a pixel right of its left edge.
void columns_of(const PlacedQuad& q, double u0, double u1, double grow, int& x0, int& x1)
{
    double xa, xb, y;
    quad_screen_at(q, u0, 0.0, xa, y);
    quad_screen_at(q, u1, 0.0, xb, y);
    x0 = whole_above(std::min(xa, xb) - 0.5 - grow);
    x1 = whole_below(std::max(xa, xb) - 0.5 + grow);
}
