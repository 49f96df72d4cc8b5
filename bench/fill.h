// The fill of a frame: which sprites its fragments come from and what their texels hold.
#ifndef BENCH_FILL_H
#define BENCH_FILL_H

#include "drawpath.h"

#include <cstdint>
#include <vector>

// What one sprite's quads put on screen in one frame, in pixels.
struct SpriteFill {
    long quads = 0;
    double pixels = 0.0;        // on-screen fragments
    double transparent = 0.0;   // of which the nearest texel has alpha 0
    double opaque = 0.0;        // of which it has alpha 255
};

// The alpha channel of every sprite texture, rows top to bottom, read back from OpenGL.
std::vector<std::vector<uint8_t>> read_sprite_alphas();

// Adds the quads' fragments, sprite by sprite, to `fill` (grown to hold every sprite named).
void add_fill(const std::vector<PlacedQuad>& quads, const std::vector<std::vector<uint8_t>>& alphas,
              std::vector<SpriteFill>& fill);

#endif
