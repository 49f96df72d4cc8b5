// The land of scene 1: the turf ring, the planet body and what surfaces in it, the
// bushes on the far hills and the clouds.
#include "picture_canvas.h"
#include "picture_sprites.h"

#include <cmath>

namespace {

constexpr double OUTLINE = 5;           // ink line of the scenery, a touch finer than the socks'
constexpr double TURF_BAND = 14;        // green band on top of the soil
constexpr double SOIL_FADE = 20;        // the soil melts into the planet body over its last rows
constexpr int BLADES = 11;              // blades per piece; neighbours 36 px apart interleave theirs
constexpr uint32_t GRASS_SEED = 27;     // fixed seeds: the same scatter on every run
constexpr uint32_t PEBBLE_SEED = 5;     // (any fixed value would do)

// Adds a union of circles, given as {x, y, radius} triples, to the path.
void add_circles(cairo_t* cr, const double (*circles)[3], int count)
{
    for (int k = 0; k < count; ++k) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, circles[k][0], circles[k][1], circles[k][2], 0, 2 * M_PI);
    }
}

// Fills the current path with `fill` and outlines only its outer edge, so that
// overlapping parts (circles of a bush or cloud) read as one shape.
void fill_union_outlined(cairo_t* cr, Rgb fill, Rgb outline, double line)
{
    set_colour(cr, outline);
    cairo_set_line_width(cr, 2 * line);
    cairo_stroke_preserve(cr);
    set_colour(cr, fill);
    cairo_fill(cr);
}

// Paints one blade of grass from its base to its tip.
void paint_blade(cairo_t* cr, double base_x, double base_y, double tip_x, double tip_y, double width, Rgb colour)
{
    const double bend_y = (base_y + tip_y) / 2;
    cairo_move_to(cr, base_x - width / 2, base_y);
    cairo_curve_to(cr, base_x - width / 2, bend_y, tip_x, bend_y, tip_x, tip_y);
    cairo_curve_to(cr, tip_x, bend_y, base_x + width / 2, bend_y, base_x + width / 2, base_y);
    cairo_close_path(cr);
    set_colour(cr, colour);
    cairo_fill_preserve(cr);
    set_colour(cr, palette::LEAF_DARK);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

// Paints the soil and the green band of the turf, from `top` to the bottom of the piece.
void paint_turf(cairo_t* cr, int w, int h, double top)
{
    cairo_pattern_t* soil = cairo_pattern_create_linear(0, top, 0, h);
    const double fade_start = 1.0 - SOIL_FADE / (h - top);
    cairo_pattern_add_color_stop_rgba(soil, 0.0, palette::SOIL.r, palette::SOIL.g, palette::SOIL.b, 1);
    cairo_pattern_add_color_stop_rgba(soil, fade_start, palette::SOIL.r, palette::SOIL.g, palette::SOIL.b, 1);
    cairo_pattern_add_color_stop_rgba(soil, 1.0, palette::SOIL.r, palette::SOIL.g, palette::SOIL.b, 0);
    cairo_set_source(cr, soil);
    cairo_rectangle(cr, 0, top, w, h - top);
    cairo_fill(cr);
    cairo_pattern_destroy(soil);
    set_colour(cr, palette::LEAF);
    cairo_rectangle(cr, 0, top, w, TURF_BAND);
    cairo_fill(cr);
    set_colour(cr, palette::LEAF_DARK);
    cairo_rectangle(cr, 0, top + TURF_BAND, w, 3);
    cairo_fill(cr);
}

// Paints one pebble with its outline and shine.
void paint_one_pebble(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb colour)
{
    add_ellipse(cr, cx, cy, rx, ry);
    fill_outlined(cr, colour, 3);
    paint_shine(cr, cx - rx * 0.35, cy - ry * 0.4, rx * 0.3, ry * 0.2);
}

}  // namespace

void paint_grass(cairo_t* cr, int w, int h)
{
    const double turf_top = h / 4.0;   // this row lies on the ring's own radius
    paint_turf(cr, w, h, turf_top);
    Scatter scatter(GRASS_SEED);
    const Rgb shades[] = {palette::LEAF_DARK, palette::LEAF, palette::LEAF_LIGHT};
    for (int blade = 0; blade < BLADES; ++blade) {
        const double base_x = 5 + (w - 10) * (blade + 0.5) / BLADES + scatter.between(-2, 2);
        const double tip_x = std::fmin(std::fmax(base_x + scatter.between(-9, 9), 3), w - 3);
        const double tip_y = scatter.between(2, turf_top - 6);
        paint_blade(cr, base_x, turf_top + 8, tip_x, tip_y, scatter.between(5, 8), shades[blade % 3]);
    }
}

void paint_planet_body(cairo_t* cr, int w, int h)
{
    constexpr double RIM_GAP = 5;   // transparent margin so the disk's soft edge is not cut
    const double cx = w / 2.0, cy = h / 2.0, radius = w / 2.0 - RIM_GAP;
    cairo_pattern_t* layers = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    const struct { double at; Rgb colour; } stops[] = {
        {0.00, palette::SUN},  {0.22, palette::MAGMA}, {0.40, mix(palette::SOIL_DARK, palette::MAGMA, 0.35)},
        {0.62, palette::SOIL_DARK}, {0.86, palette::SOIL}, {1.00, palette::SOIL},
    };
    for (const auto& stop : stops)
        cairo_pattern_add_color_stop_rgb(layers, stop.at, stop.colour.r, stop.colour.g, stop.colour.b);
    cairo_set_source(cr, layers);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(layers);
    set_colour(cr, palette::INK, 0.25);
    cairo_set_line_width(cr, 1.5);
    for (double stratum : {0.72, 0.52}) {
        cairo_arc(cr, cx, cy, radius * stratum, 0, 2 * M_PI);
        cairo_stroke(cr);
    }
}

void paint_buried_pebbles(cairo_t* cr, int w, int h)
{
    Scatter scatter(PEBBLE_SEED);
    const Rgb colours[] = {palette::STONE, palette::STONE_DARK, mix(palette::STONE, palette::ORANGE, 0.3)};
    const double places[][2] = {{0.36, 0.62}, {0.66, 0.66}, {0.5, 0.36}};
    for (int k = 0; k < 3; ++k)
        paint_one_pebble(cr, w * places[k][0], h * places[k][1], w * scatter.between(0.14, 0.2),
                         h * scatter.between(0.11, 0.15), colours[k]);
}

void paint_buried_gem(cairo_t* cr, int w, int h)
{
    const double cx = w / 2.0, cy = h / 2.0, r = w * 0.38;
    paint_glow(cr, cx, cy, w * 0.5, palette::SKY_BLUE, 0.5);
    const double crown_y = cy - r * 0.45, girdle_y = cy - r * 0.1;
    cairo_move_to(cr, cx - r * 0.55, crown_y);
    cairo_line_to(cr, cx + r * 0.55, crown_y);
    cairo_line_to(cr, cx + r, girdle_y);
    cairo_line_to(cr, cx, cy + r * 0.85);
    cairo_line_to(cr, cx - r, girdle_y);
    cairo_close_path(cr);
    fill_outlined(cr, palette::TEAL, 3);
    set_colour(cr, palette::SKY_BLUE);
    cairo_move_to(cr, cx - r * 0.55, crown_y);
    cairo_line_to(cr, cx + r * 0.55, crown_y);
    cairo_line_to(cr, cx + r * 0.3, girdle_y);
    cairo_line_to(cr, cx - r * 0.3, girdle_y);
    cairo_close_path(cr);
    cairo_fill(cr);
    set_colour(cr, palette::INK, 0.5);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, cx - r, girdle_y);
    cairo_line_to(cr, cx + r, girdle_y);
    cairo_move_to(cr, cx - r * 0.3, girdle_y);
    cairo_line_to(cr, cx, cy + r * 0.85);
    cairo_line_to(cr, cx + r * 0.3, girdle_y);
    cairo_stroke(cr);
    paint_sparkle(cr, cx - r * 0.3, crown_y + 3, r * 0.45, 4, palette::WHITE);
}

void paint_round_bush(cairo_t* cr, int w, int h)
{
    cairo_save(cr);
    cairo_scale(cr, w / 256.0, h / 256.0);   // designed on a 256 x 256 frame
    const double clumps[][3] = {{128, 190, 80}, {62, 214, 56}, {194, 214, 56}, {96, 132, 54}, {164, 128, 56}, {128, 92, 46}};
    add_circles(cr, clumps, 6);
    fill_union_outlined(cr, palette::LEAF_DARK, palette::INK, OUTLINE);
    const double lights[][3] = {{112, 120, 30}, {160, 116, 26}, {90, 180, 30}, {152, 176, 34}, {200, 206, 22}, {128, 84, 22}};
    add_circles(cr, lights, 6);
    set_colour(cr, palette::LEAF);
    cairo_fill(cr);
    const double berries[][2] = {{76, 150}, {140, 150}, {184, 176}, {110, 212}, {170, 232}, {56, 226}, {124, 110}};
    for (const auto& berry : berries) {
        add_ellipse(cr, berry[0], berry[1], 7, 7);
        fill_outlined(cr, palette::CHERRY, 2.5);
        paint_shine(cr, berry[0] - 2, berry[1] - 2.5, 2, 1.5);
    }
    cairo_restore(cr);
}

void paint_pine(cairo_t* cr, int w, int h)
{
    cairo_save(cr);
    cairo_scale(cr, w / 160.0, h / 256.0);   // designed on a 160 x 256 frame
    cairo_rectangle(cr, 68, 200, 24, 60);
    fill_outlined(cr, palette::WOOD_DARK, OUTLINE);
    const double tiers[][3] = {{212, 74, 96}, {150, 62, 84}, {92, 48, 74}};   // bottom y, half width, height
    for (const auto& tier : tiers) {
        cairo_move_to(cr, 80 - tier[1], tier[0]);
        cairo_curve_to(cr, 80 - tier[1] * 0.4, tier[0] + 10, 80 + tier[1] * 0.4, tier[0] + 10, 80 + tier[1], tier[0]);
        cairo_line_to(cr, 80, tier[0] - tier[2]);
        cairo_close_path(cr);
        fill_outlined(cr, mix(palette::LEAF_DARK, palette::TEAL_DARK, 0.3), OUTLINE);
        cairo_move_to(cr, 80, tier[0] - tier[2] + 10);
        cairo_line_to(cr, 80 - tier[1] * 0.55, tier[0] - 6);
        cairo_line_to(cr, 80 - tier[1] * 0.15, tier[0] - 2);
        cairo_close_path(cr);
        set_colour(cr, palette::LEAF, 0.8);
        cairo_fill(cr);
    }
    paint_sparkle(cr, 80, 14, 14, 5, palette::SUN);
    cairo_restore(cr);
}

void paint_blossom_bush(cairo_t* cr, int w, int h)
{
    cairo_save(cr);
    cairo_scale(cr, w / 224.0, h / 256.0);   // designed on a 224 x 256 frame
    const double clumps[][3] = {{112, 200, 70}, {54, 222, 48}, {170, 222, 48}, {84, 150, 44}, {142, 146, 48}, {112, 118, 36}};
    add_circles(cr, clumps, 6);
    fill_union_outlined(cr, palette::LEAF, palette::INK, OUTLINE);
    const double flowers[][2] = {{84, 136}, {142, 128}, {112, 176}, {60, 200}, {164, 196}, {116, 226}, {182, 236}, {40, 236}};
    for (const auto& flower : flowers) {
        for (int petal = 0; petal < 5; ++petal) {
            const double a = 2 * M_PI * petal / 5;
            add_ellipse(cr, flower[0] + 7 * std::cos(a), flower[1] + 7 * std::sin(a), 6, 6);
        }
        fill_union_outlined(cr, palette::PINK, palette::INK, 1.2);
        add_ellipse(cr, flower[0], flower[1], 4, 4);
        set_colour(cr, palette::SUN);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void paint_cloud(cairo_t* cr, int w, int h, int puffs)
{
    const double margin = h * 0.22, base_y = h * 0.72;
    const double span = w - 2 * margin;
    for (int k = 0; k < puffs; ++k) {
        const double along = static_cast<double>(k) / (puffs - 1);
        const double lift = std::sin(M_PI * along);   // the middle puffs are the tallest
        const double radius = h * (0.2 + 0.14 * lift);
        cairo_new_sub_path(cr);
        cairo_arc(cr, margin + span * along, base_y - h * 0.26 * lift, radius, 0, 2 * M_PI);
    }
    add_rounded_rect(cr, margin, base_y - h * 0.18, span, h * 0.2 + h * 0.04, h * 0.1);
    cairo_path_t* shape = cairo_copy_path(cr);
    fill_union_outlined(cr, palette::WHITE, mix(palette::LILAC, palette::INK, 0.35), OUTLINE);
    cairo_save(cr);
    cairo_append_path(cr, shape);
    cairo_clip(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, h * 0.4, 0, h);
    cairo_pattern_add_color_stop_rgba(shade, 0.0, palette::LILAC.r, palette::LILAC.g, palette::LILAC.b, 0.0);
    cairo_pattern_add_color_stop_rgba(shade, 1.0, palette::LILAC.r, palette::LILAC.g, palette::LILAC.b, 0.7);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
    cairo_path_destroy(shape);
}
