// The kitchen of scene 2: fridges, a table with a cloth, the bowl (also a sky boat's
// hull), the wooden spoon (a sky boat's oar) and the tiled floor ring.
#include "geometry.h"
#include "picture_canvas.h"
#include "picture_sprites.h"

#include <cmath>

namespace {

constexpr double OUTLINE = 5;              // ink line, as on the rest of the scenery
constexpr double FRIDGE_FRAME_W = 320;     // design frame of the fridge
constexpr double FRIDGE_FRAME_H = 568;     // (the fridge images' own size, so no scaling)
constexpr double FRIDGE_LEFT = 40;         // closed and open fridges share this body
constexpr double FRIDGE_RIGHT = 280;       // ...leaving room on the right for the open door
constexpr double FRIDGE_TOP = 14;          // room for the outline at the top
constexpr double FRIDGE_BOTTOM = 540;      // the body ends here; the feet go on below
constexpr double FREEZER_SPLIT = 180;      // the line between the freezer and the main door
constexpr double FEET_BOTTOM = 566;        // feet end on the last rows: the fridge stands on the floor
constexpr double TABLE_FRAME_W = 384;      // design frame of the table
constexpr double TABLE_FRAME_H = 264;      // (the table image's own size, so no scaling)
constexpr double FLOOR_TOP_SHARE = 0.2;    // the floor's top edge, a fifth of the way down its piece
constexpr double FLOOR_PIECE_SPACING = GROUND_RADIUS / FLOOR_PER_RADIAN;   // pixels between floor pieces on the ring
constexpr double SKIRTING_H = 8;           // wooden strip along the top of the floor

// Paints a fridge foot whose bottom lies on FEET_BOTTOM.
void paint_fridge_foot(cairo_t* cr, double x)
{
    add_rounded_rect(cr, x, FRIDGE_BOTTOM - 6, 30, FEET_BOTTOM - FRIDGE_BOTTOM + 6, 5);
    fill_outlined(cr, palette::INK, 3);
}

// Paints a door handle: a rounded vertical bar.
void paint_handle(cairo_t* cr, double top, double length)
{
    add_rounded_rect(cr, FRIDGE_RIGHT - 34, top, 12, length, 6);
    fill_outlined(cr, palette::CREAM, 4);
}

// Paints the magnets on the closed main door: a star, a heart and a note.
void paint_magnets(cairo_t* cr)
{
    add_star(cr, 110, 250, 24, 10, 5);
    fill_outlined(cr, palette::SUN, 3);
    cairo_move_to(cr, 180, 300);
    cairo_curve_to(cr, 150, 280, 160, 250, 180, 266);
    cairo_curve_to(cr, 200, 250, 210, 280, 180, 300);
    fill_outlined(cr, palette::PINK, 3);
    cairo_save(cr);
    cairo_translate(cr, 120, 330);
    cairo_rotate(cr, -0.12);
    cairo_rectangle(cr, -28, -22, 56, 60);
    fill_outlined(cr, palette::CREAM, 3);
    set_colour(cr, palette::SKY_BLUE);
    cairo_set_line_width(cr, 3);
    for (double line_y : {-8.0, 4.0, 16.0}) {
        cairo_move_to(cr, -18, line_y);
        cairo_line_to(cr, 18, line_y);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

// Paints the lit inside of the open fridge: shelves, milk, jam and eggs.
void paint_fridge_inside(cairo_t* cr)
{
    const double left = FRIDGE_LEFT + 14, right = FRIDGE_RIGHT - 14, top = FREEZER_SPLIT + 10, bottom = FRIDGE_BOTTOM - 14;
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    fill_outlined(cr, mix(palette::CREAM, palette::SUN, 0.25), 4);
    cairo_save(cr);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    cairo_clip(cr);
    paint_glow(cr, (left + right) / 2, top + 40, 170, palette::WHITE, 0.9);
    cairo_restore(cr);
    set_colour(cr, palette::SKY_BLUE);
    cairo_set_line_width(cr, 6);
    for (double shelf : {top + 120, top + 240}) {
        cairo_move_to(cr, left, shelf);
        cairo_line_to(cr, right, shelf);
    }
    cairo_stroke(cr);
    cairo_rectangle(cr, left + 20, top + 40, 44, 77);   // milk carton
    fill_outlined(cr, palette::WHITE, 3);
    cairo_rectangle(cr, left + 20, top + 70, 44, 20);
    set_colour(cr, palette::SKY_BLUE);
    cairo_fill(cr);
    add_rounded_rect(cr, left + 110, top + 70, 50, 47, 8);   // jam jar
    fill_outlined(cr, palette::CHERRY, 3);
    cairo_rectangle(cr, left + 106, top + 60, 58, 14);
    fill_outlined(cr, palette::CREAM, 3);
    for (double egg = 0; egg < 4; ++egg) {
        add_ellipse(cr, left + 36 + egg * 40, top + 214, 14, 18);
        fill_outlined(cr, palette::CREAM, 3);
    }
    cairo_save(cr);   // a sock keeping cool on the bottom shelf: the fridges are where new socks come from
    cairo_translate(cr, left + 70, bottom - 100);
    paint_sock(cr, 72, 96, SockFace::SMILE);
    cairo_restore(cr);
}

// Paints the open door, swung towards us on its right-hand hinge.
void paint_open_door(cairo_t* cr)
{
    cairo_move_to(cr, FRIDGE_RIGHT - 2, FREEZER_SPLIT + 2);
    cairo_line_to(cr, FRIDGE_FRAME_W - 6, FREEZER_SPLIT - 14);
    cairo_line_to(cr, FRIDGE_FRAME_W - 6, FRIDGE_BOTTOM + 12);
    cairo_line_to(cr, FRIDGE_RIGHT - 2, FRIDGE_BOTTOM - 4);
    cairo_close_path(cr);
    fill_outlined(cr, mix(palette::MINT, palette::TEAL, 0.35), OUTLINE);
    set_colour(cr, palette::CREAM);
    cairo_set_line_width(cr, 5);
    for (double rack : {0.35, 0.7}) {
        const double y = FREEZER_SPLIT + (FRIDGE_BOTTOM - FREEZER_SPLIT) * rack;
        cairo_move_to(cr, FRIDGE_RIGHT + 8, y);
        cairo_line_to(cr, FRIDGE_FRAME_W - 14, y + 4);
    }
    cairo_stroke(cr);
}

// Paints the tablecloth: cherry checks on cream with a scalloped hem.
void paint_tablecloth(cairo_t* cr)
{
    constexpr double HEM_Y = 66, SCALLOP = 24;   // the cloth hangs a quarter down the legs, in 16 scallops
    cairo_move_to(cr, 6, 4);
    cairo_line_to(cr, TABLE_FRAME_W - 6, 4);
    cairo_line_to(cr, TABLE_FRAME_W - 6, HEM_Y);
    for (double x = TABLE_FRAME_W - 6; x > 6 + 1; x -= SCALLOP)
        cairo_curve_to(cr, x - 4, HEM_Y + 12, x - SCALLOP + 4, HEM_Y + 12, x - SCALLOP, HEM_Y);
    cairo_close_path(cr);
    cairo_path_t* cloth = fill_and_clip(cr, palette::CREAM);
    set_colour(cr, palette::CHERRY, 0.45);   // stripes both ways; where they cross the check darkens
    for (double x = 6; x < TABLE_FRAME_W; x += 2 * 16)
        cairo_rectangle(cr, x, 0, 16, HEM_Y + 20);
    cairo_fill(cr);
    for (double y = 4; y < HEM_Y + 20; y += 2 * 16)
        cairo_rectangle(cr, 0, y, TABLE_FRAME_W, 16);
    cairo_fill(cr);
    outline_clipped(cr, cloth, OUTLINE);
}

// Adds the outline of the bowl's body (below its rim) to the path.
void add_bowl_body(cairo_t* cr, double w, double rim_y, double bottom)
{
    cairo_move_to(cr, 10, rim_y);
    cairo_curve_to(cr, 14, bottom - 30, w * 0.25, bottom, w / 2, bottom);
    cairo_curve_to(cr, w * 0.75, bottom, w - 14, bottom - 30, w - 10, rim_y);
    cairo_close_path(cr);
}

}  // namespace

void paint_fridge(cairo_t* cr, int w, int h, bool open)
{
    cairo_save(cr);
    cairo_scale(cr, w / FRIDGE_FRAME_W, h / FRIDGE_FRAME_H);
    paint_fridge_foot(cr, FRIDGE_LEFT + 22);
    paint_fridge_foot(cr, FRIDGE_RIGHT - 52);
    add_rounded_rect(cr, FRIDGE_LEFT, FRIDGE_TOP, FRIDGE_RIGHT - FRIDGE_LEFT, FRIDGE_BOTTOM - FRIDGE_TOP, 26);
    fill_outlined(cr, palette::MINT, OUTLINE + 1);
    paint_shine(cr, FRIDGE_LEFT + 22, FRIDGE_TOP + 150, 6, 110);
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, OUTLINE);
    cairo_move_to(cr, FRIDGE_LEFT, FREEZER_SPLIT);
    cairo_line_to(cr, FRIDGE_RIGHT, FREEZER_SPLIT);
    cairo_stroke(cr);
    paint_handle(cr, FREEZER_SPLIT - 90, 64);
    if (open) {
        paint_fridge_inside(cr);
        paint_open_door(cr);
    } else {
        paint_handle(cr, FREEZER_SPLIT + 24, 110);
        paint_magnets(cr);
    }
    cairo_restore(cr);
}

void paint_table(cairo_t* cr, int w, int h)
{
    cairo_save(cr);
    cairo_scale(cr, w / TABLE_FRAME_W, h / TABLE_FRAME_H);
    const double leg_bottom = TABLE_FRAME_H - OUTLINE / 2 - 1;   // feet on the last rows
    for (double leg_x : {44.0, TABLE_FRAME_W - 68}) {
        cairo_rectangle(cr, leg_x, 50, 24, leg_bottom - 50);
        fill_outlined(cr, palette::WOOD_DARK, OUTLINE);
    }
    paint_tablecloth(cr);
    cairo_restore(cr);
}

void paint_bowl(cairo_t* cr, int w, int h)
{
    const double rim_y = h * 0.17, rim_ry = h * 0.15, bottom = h * 0.86;
    add_rounded_rect(cr, w * 0.34, bottom - 10, w * 0.32, h - (bottom - 10) - 3, 6);
    fill_outlined(cr, palette::TEAL_DARK, 4);
    add_bowl_body(cr, w, rim_y, bottom);
    set_colour(cr, palette::TEAL);
    cairo_fill(cr);
    cairo_save(cr);
    add_bowl_body(cr, w, rim_y, bottom);
    cairo_clip(cr);
    set_colour(cr, palette::CREAM);
    const double dots[][2] = {{0.2, 0.42}, {0.4, 0.62}, {0.6, 0.45}, {0.8, 0.5}, {0.5, 0.8}, {0.3, 0.82}, {0.7, 0.8}};
    for (const auto& dot : dots) {
        add_ellipse(cr, w * dot[0], h * dot[1], h * 0.06, h * 0.06);
        cairo_fill(cr);
    }
    paint_shine(cr, w * 0.18, h * 0.5, w * 0.03, h * 0.12);
    cairo_restore(cr);
    add_bowl_body(cr, w, rim_y, bottom);
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, OUTLINE);
    cairo_stroke(cr);
    add_ellipse(cr, w / 2.0, rim_y, w / 2.0 - 10, rim_ry);
    fill_outlined(cr, palette::CREAM, OUTLINE);
    const Rgb bits[] = {palette::SUN, palette::PINK, palette::ORANGE, palette::LILAC, palette::SUN};
    for (int k = 0; k < 5; ++k) {
        add_ellipse(cr, w * (0.28 + 0.11 * k), rim_y + (k % 2 ? -2 : 3), 9, 6);
        fill_outlined(cr, bits[k], 2.5);
    }
}

void paint_spoon(cairo_t* cr, int w, int h)
{
    constexpr double SLANT = 0.36;   // radians off upright: the oar leans into its stroke
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h / 2.0);
    cairo_rotate(cr, SLANT);
    add_rounded_rect(cr, -6, -h * 0.45, 12, h * 0.62, 6);
    fill_outlined(cr, palette::WOOD, 4);
    add_ellipse(cr, 0, h * 0.27, w * 0.21, h * 0.17);
    fill_outlined(cr, palette::WOOD, 4);
    add_ellipse(cr, 2, h * 0.28, w * 0.13, h * 0.12);
    set_colour(cr, palette::WOOD_DARK, 0.6);
    cairo_fill(cr);
    paint_shine(cr, -2, -h * 0.3, 2, h * 0.08);
    cairo_restore(cr);
}

void paint_floor_tiles(cairo_t* cr, int w, int h)
{
    const double top = h * FLOOR_TOP_SHARE, tiles_top = top + SKIRTING_H, tile = FLOOR_PIECE_SPACING / 2;
    const double row_h = (h - tiles_top - 4) / 2;
    set_colour(cr, palette::CREAM);   // one cream ground, so tile edges leave no see-through seams
    cairo_rectangle(cr, 0, tiles_top, w, h - tiles_top);
    cairo_fill(cr);
    set_colour(cr, palette::CHERRY);
    for (int row = 0; row < 2; ++row)
        for (int column = row % 2; column * tile < w; column += 2)
            cairo_rectangle(cr, column * tile, tiles_top + row * row_h, tile, row_h);
    cairo_fill(cr);
    set_colour(cr, palette::INK);
    cairo_rectangle(cr, 0, h - 4, w, 4);
    cairo_fill(cr);
    set_colour(cr, palette::WOOD);
    cairo_rectangle(cr, 0, top, w, SKIRTING_H);
    cairo_fill(cr);
    set_colour(cr, palette::INK);
    cairo_rectangle(cr, 0, top, w, 2);
    cairo_rectangle(cr, 0, tiles_top - 1, w, 2);
    cairo_fill(cr);
}
