// Drawing helpers shared by every picture: the palette, a Cairo canvas that writes
// itself as a PNG, common shapes, and a fixed-seed scatter for repeatable "random" detail.
#ifndef PICTURE_CANVAS_H
#define PICTURE_CANVAS_H

#include <cairo.h>
#include <cstdint>
#include <string>

// A colour as Cairo takes it: red, green and blue from 0 to 1.
struct Rgb {
    double r, g, b;
};

// The show's one palette: warm cartoon colours on a deep night sky, all outlined in ink.
namespace palette {
constexpr Rgb INK{0.17, 0.12, 0.22};          // outlines and pupils: a dark plum, softer than black
constexpr Rgb NIGHT{0.13, 0.12, 0.31};        // the sky behind scene 1
constexpr Rgb NIGHT_HAZE{0.27, 0.22, 0.50};   // faint nebulae on the night sky
constexpr Rgb STAR{1.00, 0.95, 0.80};         // stars and highlights
constexpr Rgb CREAM{1.00, 0.94, 0.82};        // sock stripes, milk, light tiles
constexpr Rgb SUN{1.00, 0.80, 0.30};          // sparkles, honey, the text dots
constexpr Rgb ORANGE{0.98, 0.56, 0.24};       // warm accents
constexpr Rgb CORAL{0.97, 0.44, 0.42};        // the socks
constexpr Rgb CHERRY{0.85, 0.30, 0.35};       // floor tiles, berries
constexpr Rgb PINK{0.98, 0.60, 0.74};         // tongues, blossoms, marshmallows
constexpr Rgb LILAC{0.70, 0.60, 0.92};        // cloud shade, moons
constexpr Rgb TEAL{0.27, 0.72, 0.77};         // sock cuffs, pipes, the bowl
constexpr Rgb TEAL_DARK{0.15, 0.46, 0.54};    // pipe shadows
constexpr Rgb SKY_BLUE{0.52, 0.78, 0.98};     // glass and gems
constexpr Rgb LEAF{0.40, 0.76, 0.30};         // grass and bushes
constexpr Rgb LEAF_DARK{0.22, 0.54, 0.27};    // grass shadows
constexpr Rgb LEAF_LIGHT{0.64, 0.87, 0.37};   // grass tips
constexpr Rgb SOIL{0.55, 0.35, 0.23};         // the planet's crust under the turf
constexpr Rgb SOIL_DARK{0.38, 0.23, 0.17};    // deeper rock
constexpr Rgb MAGMA{0.99, 0.50, 0.22};        // the planet's glowing core
constexpr Rgb WOOD{0.82, 0.55, 0.31};         // table, spoon, skirting
constexpr Rgb WOOD_DARK{0.58, 0.36, 0.20};    // wood grain and legs
constexpr Rgb MINT{0.76, 0.92, 0.85};         // the fridges
constexpr Rgb STONE{0.80, 0.71, 0.60};        // the kitchen wall behind scene 2
constexpr Rgb STONE_DARK{0.64, 0.55, 0.47};   // stone blotches and pebbles
constexpr Rgb WHITE{1.00, 1.00, 1.00};        // clouds and eye whites
}  // namespace palette

// An ARGB32 Cairo surface with its drawing context, cleared to transparent.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return context; }
    cairo_surface_t* surface() const { return image; }

    // Writes the picture as a PNG; prints a message and returns false on failure.
    bool save(const std::string& path) const;

private:
    cairo_surface_t* image;
    cairo_t* context;
};

// A small linear congruential generator with a fixed seed: the same detail on every run.
class Scatter {
public:
    explicit Scatter(uint32_t seed) : state(seed) {}
    // The next value, evenly spread from `low` up to (not including) `high`.
    double between(double low, double high);

private:
    uint32_t state;
};

// Makes `colour` at the given opacity the current source.
void set_colour(cairo_t* cr, Rgb colour, double alpha = 1.0);

// Mixes two colours: t = 0 gives `a`, t = 1 gives `b`.
Rgb mix(Rgb a, Rgb b, double t);

// Adds an ellipse centred on (cx, cy) to the current path.
void add_ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);

// Adds a rectangle with rounded corners of `radius` to the current path.
void add_rounded_rect(cairo_t* cr, double x, double y, double w, double h, double radius);

// Adds a star of `points` points to the path: tips at `outer`, notches at `inner`, one tip straight up.
void add_star(cairo_t* cr, double cx, double cy, double outer, double inner, int points);

// Fills the current path with `fill`, then strokes it in ink `line` pixels wide.
void fill_outlined(cairo_t* cr, Rgb fill, double line);

// Fills the current path with `fill`, then saves the state and clips to that shape, so what is
// drawn next stays inside it. Returns the shape for outline_clipped, which ends the clip.
cairo_path_t* fill_and_clip(cairo_t* cr, Rgb fill);

// Ends the clip of fill_and_clip and strokes the shape in ink `line` pixels wide.
void outline_clipped(cairo_t* cr, cairo_path_t* shape, double line);

// Paints a round glow: `colour` at `alpha` in the middle fading to nothing at `radius`.
void paint_glow(cairo_t* cr, double cx, double cy, double radius, Rgb colour, double alpha);

// Paints a small round highlight: a white-ish spot that makes a shape look glossy.
void paint_shine(cairo_t* cr, double cx, double cy, double rx, double ry);

// Paints a pointed star of light: `points` rays of length `radius` around a soft glow.
void paint_sparkle(cairo_t* cr, double cx, double cy, double radius, int points, Rgb colour);

// Runs `paint` inside a group whose outer `margin_x` / `margin_y` pixels fade out to
// transparent, so a picture can lie over a copy of itself without a visible edge.
void paint_with_soft_edges(cairo_t* cr, int w, int h, double margin_x, double margin_y,
                           void (*paint)(cairo_t*, int, int));

#endif
