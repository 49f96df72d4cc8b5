#include "picture_canvas.h"

#include <cmath>
#include <cstdio>

constexpr double FULL_TURN = 2.0 * M_PI;   // radians in a circle

Canvas::Canvas(int width, int height)
    : image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)), context(cairo_create(image))
{
    cairo_set_antialias(context, CAIRO_ANTIALIAS_BEST);
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(context, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas()
{
    cairo_destroy(context);
    cairo_surface_destroy(image);
}

bool Canvas::save(const std::string& path) const
{
    cairo_surface_flush(image);
    const cairo_status_t status = cairo_surface_write_to_png(image, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "assetgen: cannot write %s: %s\n", path.c_str(), cairo_status_to_string(status));
        return false;
    }
    return true;
}

double Scatter::between(double low, double high)
{
    constexpr uint32_t MULTIPLIER = 1664525u;    // Knuth's constants for a full-period 32-bit LCG
    constexpr uint32_t INCREMENT = 1013904223u;
    constexpr double SPAN = 4294967296.0;        // 2^32: turns the state into a fraction below 1
    state = state * MULTIPLIER + INCREMENT;
    return low + (high - low) * (state / SPAN);
}

void set_colour(cairo_t* cr, Rgb colour, double alpha)
{
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
}

Rgb mix(Rgb a, Rgb b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void add_ellipse(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, FULL_TURN);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void add_rounded_rect(cairo_t* cr, double x, double y, double w, double h, double radius)
{
    const double quarter = M_PI / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -quarter, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, quarter);
    cairo_arc(cr, x + radius, y + h - radius, radius, quarter, 2 * quarter);
    cairo_arc(cr, x + radius, y + radius, radius, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

void add_star(cairo_t* cr, double cx, double cy, double outer, double inner, int points)
{
    cairo_new_sub_path(cr);
    for (int k = 0; k < 2 * points; ++k) {
        const double angle = -M_PI / 2 + M_PI * k / points;
        const double r = k % 2 ? inner : outer;
        cairo_line_to(cr, cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    cairo_close_path(cr);
}

void fill_outlined(cairo_t* cr, Rgb fill, double line)
{
    set_colour(cr, fill);
    cairo_fill_preserve(cr);
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);
}

cairo_path_t* fill_and_clip(cairo_t* cr, Rgb fill)
{
    cairo_path_t* shape = cairo_copy_path(cr);
    set_colour(cr, fill);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_append_path(cr, shape);
    cairo_clip(cr);
    return shape;
}

void outline_clipped(cairo_t* cr, cairo_path_t* shape, double line)
{
    cairo_restore(cr);
    cairo_append_path(cr, shape);
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);
    cairo_path_destroy(shape);
}

void paint_glow(cairo_t* cr, double cx, double cy, double radius, Rgb colour, double alpha)
{
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, colour.r, colour.g, colour.b, alpha);
    cairo_pattern_add_color_stop_rgba(glow, 0.5, colour.r, colour.g, colour.b, alpha * 0.35);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, colour.r, colour.g, colour.b, 0.0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, cx, cy, radius, 0, FULL_TURN);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

void paint_shine(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    constexpr double SHINE_ALPHA = 0.75;   // strong enough to read, weak enough to keep the colour beneath
    add_ellipse(cr, cx, cy, rx, ry);
    set_colour(cr, palette::WHITE, SHINE_ALPHA);
    cairo_fill(cr);
}

void paint_sparkle(cairo_t* cr, double cx, double cy, double radius, int points, Rgb colour)
{
    constexpr double WAIST = 0.18;        // ray width at the centre, as a share of the radius
    constexpr double GLOW_SHARE = 0.55;   // the halo reaches a little over half way along the rays
    paint_glow(cr, cx, cy, radius * GLOW_SHARE, colour, 0.8);
    cairo_move_to(cr, cx + radius, cy);
    for (int k = 0; k < points; ++k) {
        const double ray = FULL_TURN * k / points;
        const double between_rays = ray + FULL_TURN / (2 * points);
        const double next = ray + FULL_TURN / points;
        cairo_curve_to(cr, cx + radius * WAIST * std::cos(between_rays), cy + radius * WAIST * std::sin(between_rays),
                       cx + radius * WAIST * std::cos(between_rays), cy + radius * WAIST * std::sin(between_rays),
                       cx + radius * std::cos(next), cy + radius * std::sin(next));
    }
    cairo_close_path(cr);
    set_colour(cr, mix(colour, palette::WHITE, 0.55));
    cairo_fill(cr);
}

// A gradient mask that is opaque between the margins and fades to nothing at both ends
// of the line from (x0, y0) to (x1, y1), the margin being `share` of that line.
static cairo_pattern_t* edge_fade(double x0, double y0, double x1, double y1, double share)
{
    cairo_pattern_t* fade = cairo_pattern_create_linear(x0, y0, x1, y1);
    cairo_pattern_add_color_stop_rgba(fade, 0.0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(fade, share, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(fade, 1.0 - share, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(fade, 1.0, 0, 0, 0, 0);
    return fade;
}

void paint_with_soft_edges(cairo_t* cr, int w, int h, double margin_x, double margin_y,
                           void (*paint)(cairo_t*, int, int))
{
    cairo_pattern_t* across = edge_fade(0, 0, w, 0, margin_x / w);
    cairo_pattern_t* down = edge_fade(0, 0, 0, h, margin_y / h);
    cairo_push_group(cr);
    cairo_push_group(cr);
    paint(cr, w, h);
    cairo_pop_group_to_source(cr);
    cairo_mask(cr, across);
    cairo_pop_group_to_source(cr);
    cairo_mask(cr, down);
    cairo_pattern_destroy(across);
    cairo_pattern_destroy(down);
}
