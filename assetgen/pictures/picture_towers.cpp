// The towers: a cupola on a stem (the dome) over a column of teal pipe segments.
#include "geometry.h"
#include "picture_canvas.h"
#include "picture_sprites.h"

#include <cmath>

namespace {

constexpr double OUTLINE = 5;          // ink line, as on the rest of the scenery
constexpr double PIPE_BODY_W = 64;     // pipe body in the pipe image
constexpr double FLANGE_W = 88;        // the flange at a segment's top, wide enough to hide the joint
constexpr double FLANGE_H = 30;        // x 0.6 = 18 px: a clear collar at each joint
// Pipes are shown this much smaller than the dome, so the dome's stem is painted that much smaller too.
constexpr double PIPE_SHARE_OF_DOME = PIPE_FULL_ZOOM / DOME_FULL_ZOOM;
constexpr double DOME_HEADROOM = 48;   // the cupola stays in view when the camera tops the climb
constexpr double CUPOLA_R = 96;        // half the cupola's width

// A horizontal gradient that shades a cylinder `width` wide centred on `cx`.
cairo_pattern_t* cylinder_shade(double cx, double width, Rgb colour)
{
    const Rgb dark = mix(colour, palette::INK, 0.45);
    const Rgb light = mix(colour, palette::WHITE, 0.45);
    cairo_pattern_t* shade = cairo_pattern_create_linear(cx - width / 2, 0, cx + width / 2, 0);
    const struct { double at; Rgb c; } stops[] = {{0.0, dark}, {0.3, colour}, {0.42, light}, {0.6, colour}, {1.0, dark}};
    for (const auto& stop : stops)
        cairo_pattern_add_color_stop_rgb(shade, stop.at, stop.c.r, stop.c.g, stop.c.b);
    return shade;
}

// Fills the rectangle with a cylinder's shading and outlines it.
void paint_cylinder(cairo_t* cr, double cx, double top, double width, double height, Rgb colour)
{
    cairo_pattern_t* shade = cylinder_shade(cx, width, colour);
    cairo_rectangle(cr, cx - width / 2, top, width, height);
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, OUTLINE);
    cairo_stroke(cr);
}

// Paints a length of pipe from `top` to `bottom`, centred on `cx`, with a bolted flange at its top.
void paint_pipe_length(cairo_t* cr, double cx, double top, double bottom)
{
    paint_cylinder(cr, cx, top - OUTLINE, PIPE_BODY_W, bottom - top + 2 * OUTLINE, palette::TEAL);
    paint_cylinder(cr, cx, top + OUTLINE / 2, FLANGE_W, FLANGE_H - OUTLINE, mix(palette::TEAL, palette::SKY_BLUE, 0.4));
    for (double bolt : {-0.32, 0.0, 0.32}) {
        add_ellipse(cr, cx + bolt * FLANGE_W, top + FLANGE_H / 2, 4, 4);
        fill_outlined(cr, palette::SUN, 2);
    }
    paint_cylinder(cr, cx, (top + bottom) / 2, PIPE_BODY_W + 8, 10, palette::TEAL_DARK);
}

// Paints the cupola: a cream half sphere with coral stripes, a porthole and a beacon.
void paint_cupola(cairo_t* cr, double cx, double base_y)
{
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, 6);
    cairo_move_to(cr, cx, base_y - CUPOLA_R);
    cairo_line_to(cr, cx, DOME_HEADROOM + 12);
    cairo_stroke(cr);
    paint_glow(cr, cx, DOME_HEADROOM, 34, palette::SUN, 0.7);
    add_ellipse(cr, cx, DOME_HEADROOM, 11, 11);
    fill_outlined(cr, palette::SUN, 4);
    cairo_arc(cr, cx, base_y, CUPOLA_R, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    cairo_path_t* cupola = fill_and_clip(cr, palette::CREAM);
    set_colour(cr, palette::CORAL);
    for (double stripe : {-0.55, 0.55}) {
        add_ellipse(cr, cx + stripe * CUPOLA_R * 1.6, base_y, CUPOLA_R * 0.5, CUPOLA_R * 1.1);
        cairo_fill(cr);
    }
    paint_shine(cr, cx - CUPOLA_R * 0.4, base_y - CUPOLA_R * 0.65, CUPOLA_R * 0.2, CUPOLA_R * 0.1);
    outline_clipped(cr, cupola, OUTLINE);
    add_ellipse(cr, cx, base_y - CUPOLA_R * 0.42, CUPOLA_R * 0.24, CUPOLA_R * 0.24);
    fill_outlined(cr, palette::SKY_BLUE, OUTLINE);
    paint_shine(cr, cx - 6, base_y - CUPOLA_R * 0.48, 7, 4);
}

// Paints the platform under the cupola and the funnel down to the stem.
void paint_platform(cairo_t* cr, double cx, double base_y)
{
    const double half = CUPOLA_R + 18, height = 28;
    add_rounded_rect(cr, cx - half, base_y - 4, 2 * half, height, 8);
    fill_outlined(cr, palette::TEAL_DARK, OUTLINE);
    for (double light = -0.75; light <= 0.76; light += 0.25) {
        add_ellipse(cr, cx + light * half, base_y + height / 2 - 4, 5, 5);
        fill_outlined(cr, palette::SUN, 2);
    }
    const double funnel_top = base_y + height - 4, funnel_foot = funnel_top + 40;
    const double stem_half = PIPE_BODY_W * PIPE_SHARE_OF_DOME / 2;
    cairo_move_to(cr, cx - half * 0.6, funnel_top);
    cairo_line_to(cr, cx + half * 0.6, funnel_top);
    cairo_line_to(cr, cx + stem_half, funnel_foot);
    cairo_line_to(cr, cx - stem_half, funnel_foot);
    cairo_close_path(cr);
    fill_outlined(cr, palette::TEAL, OUTLINE);
}

}  // namespace

void paint_pipe(cairo_t* cr, int w, int h)
{
    paint_pipe_length(cr, w / 2.0, 0, h);
}

void paint_dome(cairo_t* cr, int w, int h)
{
    const double cx = w / 2.0, base_y = DOME_HEADROOM + 20 + CUPOLA_R + 40;
    cairo_save(cr);
    cairo_translate(cr, cx, base_y);
    cairo_scale(cr, PIPE_SHARE_OF_DOME, PIPE_SHARE_OF_DOME);
    paint_pipe_length(cr, 0, 0, (h - base_y) / PIPE_SHARE_OF_DOME);
    cairo_restore(cr);
    paint_platform(cr, cx, base_y);
    paint_cupola(cr, cx, base_y);
}

void paint_block(cairo_t* cr, int w, int h)
{
    add_rounded_rect(cr, 4, 4, w - 8, h - 8, 8);
    fill_outlined(cr, palette::ORANGE, 4);
    add_rounded_rect(cr, 14, 14, w - 28, h - 28, 5);
    set_colour(cr, palette::SUN);
    cairo_fill(cr);
    paint_shine(cr, w * 0.32, h * 0.3, w * 0.1, h * 0.05);
}
