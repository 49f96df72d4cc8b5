// The sock: a striped coral sock with a teal cuff, heel and toe, and a face on its leg.
// Drawn in a 192 x 256 design frame, scaled to the canvas.
#include "picture_canvas.h"
#include "picture_sprites.h"

#include <cmath>

namespace {

constexpr double FRAME_W = 192;   // design frame the coordinates below refer to
constexpr double FRAME_H = 256;
constexpr double OUTLINE = 6;     // ink line: still a clear pixel at zoom 0.3 on a sky boat
constexpr double SOLE_Y = 249;    // the sole, so the outline ends on the image's last rows
constexpr double LEG_LEFT = 30;    // the leg, leaving the right side of the frame to the toe
constexpr double LEG_RIGHT = 118;
constexpr double LEG_TOP = 30;     // under the cuff
constexpr double EYE_Y = 86;      // the face sits on the upper leg, above the stripes
constexpr double MOUTH_Y = 118;    // between the eyes and the first stripe
constexpr double FACE_X = 78;     // middle of the face, a little forward of the leg's middle

// Adds the outline of the sock (leg, instep, toe, sole and heel) to the path.
void add_sock_shape(cairo_t* cr)
{
    cairo_move_to(cr, LEG_LEFT, LEG_TOP);
    cairo_line_to(cr, LEG_RIGHT, LEG_TOP);
    cairo_line_to(cr, LEG_RIGHT, 158);
    cairo_curve_to(cr, LEG_RIGHT, 176, 140, 178, 160, 182);
    cairo_curve_to(cr, 188, 188, 190, SOLE_Y, 158, SOLE_Y);
    cairo_line_to(cr, 62, SOLE_Y);
    cairo_curve_to(cr, 22, SOLE_Y, 16, 212, 26, 186);
    cairo_close_path(cr);
}

// Paints the stripes, heel, toe and shading, all kept inside the sock's outline.
void paint_sock_pattern(cairo_t* cr)
{
    cairo_save(cr);
    add_sock_shape(cr);
    cairo_clip(cr);
    set_colour(cr, palette::CREAM);
    for (double stripe_y : {146.0, 182.0}) {
        cairo_rectangle(cr, 0, stripe_y, FRAME_W, 16);
        cairo_fill(cr);
    }
    set_colour(cr, palette::TEAL);
    add_ellipse(cr, 28, 232, 34, 34);   // heel
    cairo_fill(cr);
    add_ellipse(cr, 178, 222, 30, 40);  // toe
    cairo_fill(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(LEG_LEFT, 0, LEG_RIGHT, 0);
    cairo_pattern_add_color_stop_rgba(shade, 0.0, palette::INK.r, palette::INK.g, palette::INK.b, 0.22);
    cairo_pattern_add_color_stop_rgba(shade, 0.45, palette::INK.r, palette::INK.g, palette::INK.b, 0.0);
    cairo_pattern_add_color_stop_rgba(shade, 0.8, 1, 1, 1, 0.12);
    cairo_pattern_add_color_stop_rgba(shade, 1.0, 1, 1, 1, 0.0);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
}

// Paints the ribbed cuff at the top of the leg.
void paint_cuff(cairo_t* cr)
{
    add_rounded_rect(cr, LEG_LEFT - 7, 8, LEG_RIGHT - LEG_LEFT + 14, 38, 10);
    fill_outlined(cr, palette::TEAL, OUTLINE);
    set_colour(cr, palette::TEAL_DARK);
    cairo_set_line_width(cr, 3);
    for (double rib_x = LEG_LEFT + 6; rib_x < LEG_RIGHT; rib_x += 12) {
        cairo_move_to(cr, rib_x, 16);
        cairo_line_to(cr, rib_x, 38);
    }
    cairo_stroke(cr);
}

// Paints one open eye looking the way the sock walks.
void paint_open_eye(cairo_t* cr, double cx, double cy)
{
    add_ellipse(cr, cx, cy, 13, 16);
    fill_outlined(cr, palette::WHITE, 4);
    add_ellipse(cr, cx + 4, cy + 2, 6.5, 7.5);
    set_colour(cr, palette::INK);
    cairo_fill(cr);
    add_ellipse(cr, cx + 6, cy - 1, 2.2, 2.2);
    set_colour(cr, palette::WHITE);
    cairo_fill(cr);
}

// Paints an eye squeezed shut with the effort of roaring: a chevron.
void paint_squeezed_eye(cairo_t* cr, double cx, double cy, double direction)
{
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, 5);
    cairo_move_to(cr, cx - 9 * direction, cy - 9);
    cairo_line_to(cr, cx + 7 * direction, cy);
    cairo_line_to(cr, cx - 9 * direction, cy + 9);
    cairo_stroke(cr);
}

// Paints raised eyebrows above both eyes.
void paint_brows(cairo_t* cr)
{
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, 4.5);
    for (double eye_x : {FACE_X - 16, FACE_X + 16}) {
        cairo_move_to(cr, eye_x - 10, EYE_Y - 24);
        cairo_curve_to(cr, eye_x - 4, EYE_Y - 30, eye_x + 4, EYE_Y - 30, eye_x + 10, EYE_Y - 25);
    }
    cairo_stroke(cr);
}

// Paints an open mouth of the given half-size, with its tongue.
void paint_open_mouth(cairo_t* cr, double rx, double ry)
{
    const double cy = MOUTH_Y + ry * 0.4;
    add_ellipse(cr, FACE_X, cy, rx, ry);
    fill_outlined(cr, mix(palette::INK, palette::CHERRY, 0.35), 4);
    cairo_save(cr);
    add_ellipse(cr, FACE_X, cy, rx, ry);
    cairo_clip(cr);
    add_ellipse(cr, FACE_X + 2, cy + ry * 0.85, rx * 0.75, ry * 0.55);
    set_colour(cr, palette::PINK);
    cairo_fill(cr);
    cairo_restore(cr);
}

// Paints `count` shout lines fanning out in front of the face, `length` long.
void paint_shout_lines(cairo_t* cr, int count, double length)
{
    constexpr double FAN = 0.5;   // radians between the outer lines and the middle one
    for (int k = 0; k < count; ++k) {
        const double angle = count == 1 ? 0 : -FAN + 2 * FAN * k / (count - 1);
        const double start = 18;
        cairo_move_to(cr, LEG_RIGHT + start * std::cos(angle), MOUTH_Y + start * std::sin(angle) - 6);
        cairo_line_to(cr, LEG_RIGHT + (start + length) * std::cos(angle),
                      MOUTH_Y + (start + length) * std::sin(angle) - 6);
    }
    set_colour(cr, palette::INK);   // ink edge, sunny core: the lines read on night sky and kitchen wall alike
    cairo_set_line_width(cr, 9);
    cairo_stroke_preserve(cr);
    set_colour(cr, palette::SUN);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

// Paints the pink cheeks.
void paint_cheeks(cairo_t* cr)
{
    for (double cheek_x : {FACE_X - 30, FACE_X + 28})
        paint_glow(cr, cheek_x, MOUTH_Y - 2, 11, palette::PINK, 0.8);
}

// Paints the face for `face`.
void paint_face(cairo_t* cr, SockFace face)
{
    paint_cheeks(cr);
    if (face == SockFace::ROAR) {
        paint_squeezed_eye(cr, FACE_X - 16, EYE_Y, 1);
        paint_squeezed_eye(cr, FACE_X + 16, EYE_Y, -1);
        paint_open_mouth(cr, 17, 20);
        paint_shout_lines(cr, 3, 44);
        return;
    }
    paint_open_eye(cr, FACE_X - 16, EYE_Y);
    paint_open_eye(cr, FACE_X + 16, EYE_Y);
    if (face == SockFace::SHOUT) {
        paint_brows(cr);
        paint_open_mouth(cr, 11, 13);
        paint_shout_lines(cr, 2, 26);
        return;
    }
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, 5);
    cairo_move_to(cr, FACE_X - 14, MOUTH_Y);
    cairo_curve_to(cr, FACE_X - 6, MOUTH_Y + 10, FACE_X + 8, MOUTH_Y + 10, FACE_X + 16, MOUTH_Y - 1);
    cairo_stroke(cr);
}

}  // namespace

void paint_sock(cairo_t* cr, int w, int h, SockFace face)
{
    cairo_save(cr);
    cairo_scale(cr, w / FRAME_W, h / FRAME_H);
    add_sock_shape(cr);
    set_colour(cr, palette::CORAL);
    cairo_fill(cr);
    paint_sock_pattern(cr);
    add_sock_shape(cr);
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, OUTLINE);
    cairo_stroke(cr);
    paint_cuff(cr);
    paint_face(cr, face);
    cairo_restore(cr);
}
