// The painters of the sprite images. Each draws one picture onto a transparent canvas
// of w x h pixels; the sizes, and why they are what they are, live in the sprite table.
#ifndef PICTURE_SPRITES_H
#define PICTURE_SPRITES_H

#include <cairo.h>

// The face a sock wears: walking, and the two phases of a yell.
enum class SockFace { SMILE, SHOUT, ROAR };

// Socks (picture_socks.cpp): a striped sock with its toe to the right and its sole on the bottom row.
void paint_sock(cairo_t* cr, int w, int h, SockFace face);

// The world of scene 1 (picture_land.cpp).
// One piece of the turf ring: soil, a green band on the ring's radius, and blades above.
void paint_grass(cairo_t* cr, int w, int h);
// The planet seen in section: a glowing core under rock and a soil crust.
void paint_planet_body(cairo_t* cr, int w, int h);
// Three pebbles that surface inside the planet.
void paint_buried_pebbles(cairo_t* cr, int w, int h);
// A glinting teal gem that surfaces inside the planet.
void paint_buried_gem(cairo_t* cr, int w, int h);
// A round berry bush, its base on the bottom row.
void paint_round_bush(cairo_t* cr, int w, int h);
// A small pine tree with a star on top, its trunk on the bottom row.
void paint_pine(cairo_t* cr, int w, int h);
// A low bush in pink blossom, its base on the bottom row.
void paint_blossom_bush(cairo_t* cr, int w, int h);
// A fluffy cloud of `puffs` round puffs, shaded lilac underneath.
void paint_cloud(cairo_t* cr, int w, int h, int puffs);

// Backdrops and specks (picture_backdrops.cpp).
// The starry night backdrop, fading out at its edges.
void paint_night_sky(cairo_t* cr, int w, int h);
// A cream and gold four-pointed twinkle.
void paint_twinkle(cairo_t* cr, int w, int h);
// A pink eight-pointed starburst in a lilac glow.
void paint_starburst(cairo_t* cr, int w, int h);
// The warm stone kitchen wall backdrop, fading out at its edges.
void paint_stone_wall(cairo_t* cr, int w, int h);
// One pebble that pops out of the wall.
void paint_pebble(cairo_t* cr, int w, int h);
// An orange six-pointed glint.
void paint_glint(cairo_t* cr, int w, int h);
// A soft round sunny dot, one dot of the dot-matrix text.
void paint_text_dot(cairo_t* cr, int w, int h);

// Towers (picture_towers.cpp).
// A plain rounded toy block.
void paint_block(cairo_t* cr, int w, int h);
// One teal pipe segment over the whole image height, flange at the top.
void paint_pipe(cairo_t* cr, int w, int h);
// The tower's head: beacon, cupola and platform on a stem that meets the first pipe.
void paint_dome(cairo_t* cr, int w, int h);

// The kitchen of scene 2 (picture_kitchen.cpp).
// A mint fridge, closed with magnets or open with its lit shelves and door.
void paint_fridge(cairo_t* cr, int w, int h, bool open);
// A table with a gingham cloth, its top on the first rows and its feet on the last.
void paint_table(cairo_t* cr, int w, int h);
// A polka-dot bowl of milk and cereal, its foot on the bottom row.
void paint_bowl(cairo_t* cr, int w, int h);
// A wooden spoon held slantwise, handle up and right.
void paint_spoon(cairo_t* cr, int w, int h);
// One piece of the kitchen floor ring: a skirting strip over two rows of checks.
void paint_floor_tiles(cairo_t* cr, int w, int h);

// Cereal (picture_cereal.cpp).
constexpr int CEREAL_KINDS = 9;   // the bowl throws nine kinds of cereal
// One piece of cereal of `kind` 0 to CEREAL_KINDS - 1, each kind a different shape.
void paint_cereal(cairo_t* cr, int w, int h, int kind);

#endif
