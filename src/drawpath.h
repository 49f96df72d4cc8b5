// How a frame's quads reach OpenGL. Two paths draw the same pixels:
// - the reference path, call for call as the show was designed: a clear each frame, one bind and
//   one immediate-mode quad per sprite, blending always on;
// - the fast path (the default), which leaves out work that cannot change a pixel: binds of the
//   texture already bound, blending where every texel a quad can sample is opaque, the clear when
//   the first quad covers the screen opaquely, fragments that can only sample fully transparent
//   texels, and the redrawing of a backdrop that has not changed since it was kept in a texture.
// QUORAVINT_DRAW=reference selects the reference path at start-up, in every program.
#ifndef DRAWPATH_H
#define DRAWPATH_H

#include "quad_geometry.h"

#include <SDL/SDL.h>
#include <vector>

enum class DrawPath { REFERENCE, FAST };

constexpr DrawPath DEFAULT_DRAW_PATH = DrawPath::FAST;

// What the fast path left out, counted since the last reset.
struct DrawSavings {
    long frames = 0;           // frames begun on the fast path
    long quads = 0;            // quads it was asked to draw
    long unseen = 0;           // quads left out: no fragment of theirs could change a pixel
    long unblended = 0;        // quads drawn with blending off
    long cut = 0;              // quads scissored to the pixels they can change
    long banded = 0;           // large unturned quads drawn in bands, each scissored and unblended where opaque
    long binds = 0;            // binds left out: the texture was bound already
    long clears = 0;           // clears left out: the first quad covered the screen opaquely
    long backdrops_kept = 0;   // first quads copied into the backdrop texture
    long backdrops_put = 0;    // first quads put from that texture instead of drawn
};

// The counts since the last reset.
DrawSavings draw_savings();

// Starts the counts again from zero.
void reset_draw_savings();

// The path frames are drawn with now.
DrawPath draw_path();

// Draws later frames with `path`.
void set_draw_path(DrawPath path);

// Sets the path from the value of QUORAVINT_DRAW: "reference", "fast", or none for the usual (fast)
// path; any other value is named on standard error and the usual path is used.
void choose_draw_path(const char* setting);

// Learns which texels of a sprite are opaque and which transparent from the pixels just
// uploaded into its texture (3 or 4 bytes per pixel, as OpenGL read them); null forgets the
// sprite, which the fast path then draws like the reference path.
void learn_sprite_alpha(int sprite, const SDL_Surface* pixels);

// Appends every quad drawn from now on, either path, to `into`; null stops. Lets the frame
// benchmark see what a frame is made of.
void watch_quads(std::vector<PlacedQuad>* into);

// Starts a frame; the reference path clears the screen here, the fast path when it knows it must.
void begin_frame();

// Ends a frame: clears a screen no quad was drawn on and leaves OpenGL in the show's fixed state.
void end_frame();

// Binds the sprite's texture and draws its quad. Quads outside a frame take the reference path.
void draw_placed_quad(const PlacedQuad& quad);

#endif
