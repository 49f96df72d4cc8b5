// Backdrops and specks. The two backdrops are shown ten times enlarged behind the scenes
// and also pop up small as specks over themselves, so their edges fade out and their
// middle is an even colour: a speck then reads as a soft patch of the same sky or wall.
#include "picture_canvas.h"
#include "picture_sprites.h"

#include <cmath>

namespace {

constexpr double FADE_X_SHARE = 0.09;   // 256 px backdrop: 210 px opaque core, x 10 covers 1920 px
constexpr double FADE_Y_SHARE = 0.11;   // 160 px backdrop: 125 px opaque core, x 10 covers 1080 px
constexpr int STARS = 46;               // enough that a 1024 x 768 view of the enlarged sky holds a dozen
constexpr int HAZES = 5;                // faint nebulae that become large soft clouds when enlarged
constexpr int BLOTCHES = 24;            // light and dark patches of the stone
constexpr double COURSE_H = 26;         // height of a course of wall stones: 260 px on screen
constexpr double STONE_LENGTH = 44;     // length of a wall stone
constexpr uint32_t SKY_SEED = 8;        // fixed seeds: the same scatter on every run
constexpr uint32_t STONE_SEED = 28;     // (any fixed value would do)

// The night sky: even blue-violet with faint nebulae and small soft stars.
void paint_night_sky_content(cairo_t* cr, int w, int h)
{
    set_colour(cr, palette::NIGHT);
    cairo_paint(cr);
    Scatter scatter(SKY_SEED);
    for (int k = 0; k < HAZES; ++k)
        paint_glow(cr, scatter.between(0, w), scatter.between(0, h), scatter.between(18, 34), palette::NIGHT_HAZE, 0.4);
    for (int k = 0; k < STARS; ++k) {
        const double x = scatter.between(0, w), y = scatter.between(0, h), size = scatter.between(0.5, 1.1);
        paint_glow(cr, x, y, size * 2.2, palette::STAR, 0.9);
    }
}

// The stone wall: warm courses of stone with soft light and dark patches.
void paint_stone_wall_content(cairo_t* cr, int w, int h)
{
    set_colour(cr, palette::STONE);
    cairo_paint(cr);
    Scatter scatter(STONE_SEED);
    for (int k = 0; k < BLOTCHES; ++k) {
        const Rgb tone = k % 2 ? palette::STONE_DARK : mix(palette::STONE, palette::CREAM, 0.6);
        add_ellipse(cr, scatter.between(0, w), scatter.between(0, h), scatter.between(8, 20), scatter.between(5, 12));
        set_colour(cr, tone, 0.3);
        cairo_fill(cr);
    }
    set_colour(cr, palette::STONE_DARK, 0.55);
    cairo_set_line_width(cr, 1.5);
    for (int course = 0; course * COURSE_H < h; ++course) {
        const double top = course * COURSE_H;
        cairo_move_to(cr, 0, top);
        cairo_line_to(cr, w, top);
        for (double x = (course % 2) * STONE_LENGTH / 2; x < w; x += STONE_LENGTH) {
            cairo_move_to(cr, x, top);
            cairo_line_to(cr, x, top + COURSE_H);
        }
    }
    cairo_stroke(cr);
}

}  // namespace

void paint_night_sky(cairo_t* cr, int w, int h)
{
    paint_with_soft_edges(cr, w, h, w * FADE_X_SHARE, h * FADE_Y_SHARE, paint_night_sky_content);
}

void paint_stone_wall(cairo_t* cr, int w, int h)
{
    paint_with_soft_edges(cr, w, h, w * FADE_X_SHARE, h * FADE_Y_SHARE, paint_stone_wall_content);
}

void paint_twinkle(cairo_t* cr, int w, int h)
{
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h / 2.0);
    cairo_rotate(cr, M_PI / 4);
    paint_sparkle(cr, 0, 0, w * 0.24, 4, palette::STAR);
    cairo_restore(cr);
    paint_sparkle(cr, w / 2.0, h / 2.0, w * 0.46, 4, palette::SUN);
}

void paint_starburst(cairo_t* cr, int w, int h)
{
    paint_glow(cr, w / 2.0, h / 2.0, w * 0.5, palette::LILAC, 0.6);
    paint_sparkle(cr, w / 2.0, h / 2.0, w * 0.45, 8, palette::PINK);
}

void paint_glint(cairo_t* cr, int w, int h)
{
    paint_sparkle(cr, w / 2.0, h / 2.0, w * 0.45, 6, palette::ORANGE);
}

void paint_pebble(cairo_t* cr, int w, int h)
{
    add_ellipse(cr, w * 0.5, h * 0.55, w * 0.36, h * 0.27);
    fill_outlined(cr, palette::STONE_DARK, 3);
    add_ellipse(cr, w * 0.62, h * 0.64, w * 0.12, h * 0.07);
    set_colour(cr, palette::INK, 0.18);
    cairo_fill(cr);
    paint_shine(cr, w * 0.38, h * 0.45, w * 0.12, h * 0.06);
}

void paint_text_dot(cairo_t* cr, int w, int h)
{
    const double cx = w / 2.0, cy = h / 2.0, radius = w * 0.46;
    cairo_pattern_t* dot = cairo_pattern_create_radial(cx - radius * 0.2, cy - radius * 0.2, 0, cx, cy, radius);
    const Rgb core = mix(palette::SUN, palette::WHITE, 0.7);
    cairo_pattern_add_color_stop_rgba(dot, 0.0, core.r, core.g, core.b, 1);
    cairo_pattern_add_color_stop_rgba(dot, 0.4, palette::SUN.r, palette::SUN.g, palette::SUN.b, 1);
    cairo_pattern_add_color_stop_rgba(dot, 0.72, palette::ORANGE.r, palette::ORANGE.g, palette::ORANGE.b, 0.95);
    cairo_pattern_add_color_stop_rgba(dot, 1.0, palette::ORANGE.r, palette::ORANGE.g, palette::ORANGE.b, 0);
    cairo_set_source(cr, dot);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(dot);
}
