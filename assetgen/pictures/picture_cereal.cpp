// Nine kinds of cereal, each drawn on a 64 x 64 design frame centred on the origin:
// a honey loop, a heart, a star, a moon, a clover, a flake, a diamond, a cocoa puff and a rainbow.
#include "picture_canvas.h"
#include "picture_sprites.h"

#include <cmath>

namespace {

constexpr double FRAME = 64;     // design frame of every piece
constexpr double OUTLINE = 4;    // thick enough to survive being shown at zoom 0.3

// A honey loop: a ring with a hole.
void paint_loop(cairo_t* cr)
{
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_arc(cr, 0, 0, 25, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 10, 0, 2 * M_PI);
    fill_outlined(cr, palette::SUN, OUTLINE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    paint_shine(cr, -10, -13, 6, 3);
}

// A pink marshmallow heart.
void paint_heart(cairo_t* cr)
{
    cairo_move_to(cr, 0, 24);
    cairo_curve_to(cr, -34, 2, -24, -30, 0, -12);
    cairo_curve_to(cr, 24, -30, 34, 2, 0, 24);
    fill_outlined(cr, palette::PINK, OUTLINE);
    paint_shine(cr, -11, -9, 5, 3);
}

// A yellow five-pointed star.
void paint_star(cairo_t* cr)
{
    add_star(cr, 0, 2, 27, 11, 5);
    fill_outlined(cr, mix(palette::SUN, palette::WHITE, 0.2), OUTLINE);
}

// A lilac crescent moon.
void paint_moon(cairo_t* cr)
{
    const double bite_x = 10, bite_y = -9, bite_r = 20;   // the circle that bites the crescent out
    cairo_save(cr);
    add_ellipse(cr, 0, 0, 25, 25);
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    add_ellipse(cr, 0, 0, 25, 25);
    add_ellipse(cr, bite_x, bite_y, bite_r, bite_r);
    cairo_clip_preserve(cr);
    set_colour(cr, palette::LILAC);
    cairo_fill(cr);
    add_ellipse(cr, 0, 0, 25, 25);
    add_ellipse(cr, bite_x, bite_y, bite_r, bite_r);
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, 2 * OUTLINE);   // only the half inside the crescent shows
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A four-leaf clover.
void paint_clover(cairo_t* cr)
{
    for (int leaf = 0; leaf < 4; ++leaf) {
        const double a = M_PI / 4 + M_PI / 2 * leaf;
        add_ellipse(cr, 12 * std::cos(a), 12 * std::sin(a), 12, 12);
    }
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, 2 * OUTLINE);
    cairo_stroke_preserve(cr);
    set_colour(cr, palette::LEAF_LIGHT);
    cairo_fill(cr);
}

// A toasted corn flake: an uneven roundish chip, darker at the rim.
void paint_flake(cairo_t* cr)
{
    const double radii[] = {24, 20, 26, 21, 25, 18, 23, 26, 20};
    const int corners = sizeof radii / sizeof radii[0];
    for (int k = 0; k < corners; ++k) {
        const double a = 2 * M_PI * k / corners;
        cairo_line_to(cr, radii[k] * std::cos(a), radii[k] * std::sin(a));
    }
    cairo_close_path(cr);
    cairo_pattern_t* toast = cairo_pattern_create_radial(-4, -4, 2, 0, 0, 26);
    cairo_pattern_add_color_stop_rgb(toast, 0, palette::SUN.r, palette::SUN.g, palette::SUN.b);
    cairo_pattern_add_color_stop_rgb(toast, 1, palette::ORANGE.r, palette::ORANGE.g, palette::ORANGE.b);
    cairo_set_source(cr, toast);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(toast);
    set_colour(cr, palette::INK);
    cairo_set_line_width(cr, OUTLINE);
    cairo_stroke(cr);
}

// A sky-blue marshmallow diamond.
void paint_diamond(cairo_t* cr)
{
    cairo_move_to(cr, 0, -27);
    cairo_line_to(cr, 21, 0);
    cairo_line_to(cr, 0, 27);
    cairo_line_to(cr, -21, 0);
    cairo_close_path(cr);
    fill_outlined(cr, palette::SKY_BLUE, OUTLINE);
    paint_shine(cr, -6, -9, 4, 6);
}

// A round cocoa puff.
void paint_puff(cairo_t* cr)
{
    add_ellipse(cr, 0, 0, 22, 22);
    fill_outlined(cr, palette::SOIL, OUTLINE);
    paint_shine(cr, -8, -9, 7, 4);
}

// A marshmallow rainbow: three arched bands.
void paint_rainbow(cairo_t* cr)
{
    const Rgb bands[] = {palette::CHERRY, palette::SUN, palette::SKY_BLUE};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int k = 0; k < 3; ++k) {
        const double r = 24 - 8 * k;
        cairo_arc(cr, 0, 10, r, M_PI, 2 * M_PI);
        set_colour(cr, palette::INK);
        cairo_set_line_width(cr, 10);
        cairo_stroke_preserve(cr);
        set_colour(cr, bands[k]);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

// The painter of each kind, in cereal order.
constexpr void (*CEREAL_PAINTERS[CEREAL_KINDS])(cairo_t*) = {
    paint_loop, paint_heart, paint_star, paint_moon, paint_clover, paint_flake, paint_diamond, paint_puff, paint_rainbow,
};

}  // namespace

void paint_cereal(cairo_t* cr, int w, int h, int kind)
{
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h / 2.0);
    cairo_scale(cr, w / FRAME, h / FRAME);
    CEREAL_PAINTERS[kind % CEREAL_KINDS](cr);
    cairo_restore(cr);
}
