#include "picture_sheet.h"

#include "picture_canvas.h"
#include "picture_font.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int COLUMNS = 8;              // sprites per row of the sheet
constexpr int CELL_W = 200;             // room for the largest sprite shrunk to fit
constexpr int CELL_H = 214;             // a picture area of 180 x 164 above the label
constexpr int LABEL_H = 30;             // two lines of label under each picture
constexpr int MARGIN = 10;              // between a picture and its cell's edge
constexpr double MAX_ENLARGE = 2.0;     // small sprites are shown up to twice their size
constexpr int TITLE_H = 48;             // heading band above each section
constexpr int CHECKER = 10;             // squares behind the pictures, to show transparency
constexpr int GLYPHS_PER_ROW = 23;      // 92 glyphs in four rows
constexpr int GLYPH_CELL = 64;          // an enlarged glyph and its character label
constexpr double DOT_STEP = 9;          // one font pixel enlarged
constexpr int GLYPH_ROW_H = 78;         // an enlarged glyph and its label
constexpr double LABEL_SIZE = 12;       // label font size in pixels
constexpr double HEADING_SIZE = 22;     // section headings, in pixels

// Writes `text` with its left end at (x, y) in the given size and colour.
void write_label(cairo_t* cr, const std::string& text, double x, double y, double size, Rgb colour)
{
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    set_colour(cr, colour);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

// Fills a rectangle with a light checkerboard.
void paint_checker(cairo_t* cr, double x, double y, double w, double h)
{
    set_colour(cr, mix(palette::NIGHT, palette::WHITE, 0.55));
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    set_colour(cr, mix(palette::NIGHT, palette::WHITE, 0.7));
    for (int row = 0; row * CHECKER < h; ++row)
        for (int column = row % 2; column * CHECKER < w; column += 2)
            cairo_rectangle(cr, x + column * CHECKER, y + row * CHECKER,
                            std::min<double>(CHECKER, w - column * CHECKER), std::min<double>(CHECKER, h - row * CHECKER));
    cairo_fill(cr);
}

// Draws one sprite, shrunk or enlarged to fit, with its name and size, in cell `index`.
bool paint_sprite_cell(cairo_t* cr, const std::string& outdir, const std::string& file, int index)
{
    cairo_surface_t* sprite = cairo_image_surface_create_from_png((outdir + "/" + file).c_str());
    if (cairo_surface_status(sprite) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "assetgen: cannot read back %s for the contact sheet\n", file.c_str());
        cairo_surface_destroy(sprite);
        return false;
    }
    const int w = cairo_image_surface_get_width(sprite), h = cairo_image_surface_get_height(sprite);
    const double cell_x = (index % COLUMNS) * CELL_W, cell_y = TITLE_H + (index / COLUMNS) * CELL_H;
    const double room_w = CELL_W - 2 * MARGIN, room_h = CELL_H - LABEL_H - 2 * MARGIN;
    const double scale = std::min({room_w / w, room_h / h, MAX_ENLARGE});
    paint_checker(cr, cell_x + MARGIN, cell_y + MARGIN, room_w, room_h);
    cairo_save(cr);
    cairo_translate(cr, cell_x + MARGIN + (room_w - w * scale) / 2, cell_y + MARGIN + (room_h - h * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, sprite, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(sprite);
    const double label_y = cell_y + CELL_H - LABEL_H;
    write_label(cr, file.substr(file.find('/') + 1), cell_x + MARGIN, label_y + 2, LABEL_SIZE, palette::CREAM);
    write_label(cr, std::to_string(w) + " x " + std::to_string(h), cell_x + MARGIN, label_y + 17, LABEL_SIZE,
                palette::LILAC);
    return true;
}

// Whether pixel (x, y) of the font image is a dot (opaque white).
bool font_dot(cairo_surface_t* font, int x, int y)
{
    const unsigned char* row = cairo_image_surface_get_data(font) + y * cairo_image_surface_get_stride(font);
    const uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
    return pixel == 0xFFFFFFFFu;
}

// Draws glyph `k` of the font enlarged, with its character underneath.
void paint_glyph_cell(cairo_t* cr, cairo_surface_t* font, int k, double top)
{
    const double x = (k % GLYPHS_PER_ROW) * GLYPH_CELL + MARGIN, y = top + (k / GLYPHS_PER_ROW) * GLYPH_ROW_H;
    set_colour(cr, mix(palette::NIGHT, palette::WHITE, 0.12));
    cairo_rectangle(cr, x, y, FONT_DOTS * DOT_STEP + 6, FONT_DOTS * DOT_STEP + 6);
    cairo_fill(cr);
    set_colour(cr, palette::SUN);
    for (int row = 0; row < FONT_DOTS; ++row)
        for (int column = 0; column < FONT_DOTS; ++column)
            if (font_dot(font, k * FONT_PITCH + column, row)) {
                cairo_arc(cr, x + 3 + (column + 0.5) * DOT_STEP, y + 3 + (row + 0.5) * DOT_STEP, DOT_STEP * 0.42, 0,
                          2 * M_PI);
                cairo_fill(cr);
            }
    const char character[] = {FONT_CHARACTERS[k], '\0'};
    write_label(cr, character[0] == ' ' ? "space" : character, x, y + FONT_DOTS * DOT_STEP + 20, LABEL_SIZE,
                palette::CREAM);
}

// Draws the font section: every glyph enlarged, starting at `top`.
bool paint_font_section(cairo_t* cr, const std::string& outdir, const std::string& font_file, double top)
{
    cairo_surface_t* font = cairo_image_surface_create_from_png((outdir + "/" + font_file).c_str());
    if (cairo_surface_status(font) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "assetgen: cannot read back %s for the contact sheet\n", font_file.c_str());
        cairo_surface_destroy(font);
        return false;
    }
    write_label(cr, font_file + ": " + std::to_string(FONT_GLYPHS) + " glyphs of 5 x 5 dots", MARGIN, top + 32,
                HEADING_SIZE, palette::SUN);
    for (int k = 0; k < FONT_GLYPHS; ++k)
        paint_glyph_cell(cr, font, k, top + TITLE_H);
    cairo_surface_destroy(font);
    return true;
}

}  // namespace

bool write_contact_sheet(const std::string& outdir, const std::vector<std::string>& sprite_files,
                         const std::string& font_file)
{
    const int sprite_rows = (static_cast<int>(sprite_files.size()) + COLUMNS - 1) / COLUMNS;
    const int font_rows = (FONT_GLYPHS + GLYPHS_PER_ROW - 1) / GLYPHS_PER_ROW;
    const int sprites_h = TITLE_H + sprite_rows * CELL_H;
    Canvas sheet(COLUMNS * CELL_W, sprites_h + TITLE_H + font_rows * GLYPH_ROW_H + MARGIN);
    cairo_t* cr = sheet.cr();
    set_colour(cr, palette::NIGHT);
    cairo_paint(cr);
    write_label(cr, "Quoravint sprites (gfx/), shown to fit; checks mark transparency", MARGIN, 32, HEADING_SIZE,
                palette::SUN);
    for (size_t k = 0; k < sprite_files.size(); ++k)
        if (!paint_sprite_cell(cr, outdir, sprite_files[k], static_cast<int>(k)))
            return false;
    return paint_font_section(cr, outdir, font_file, sprites_h) && sheet.save(outdir + "/contact-sheet.png");
}
