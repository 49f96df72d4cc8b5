// The dot font: 92 glyphs of 5 x 5 dots in one row of cells, 6 px apart, written as
// opaque white dots on a transparent strip.
#ifndef PICTURE_FONT_H
#define PICTURE_FONT_H

#include "showfiles.h"

#include <string>

constexpr int FONT_GLYPHS = 92;                      // one glyph per character the show can write
constexpr int FONT_DOTS = 5;                         // dots across and down in a glyph
constexpr int FONT_PITCH = 6;                        // 5 dots and a one-pixel gap per cell

// The font's characters in cell order.
extern const char FONT_CHARACTERS[FONT_GLYPHS + 1];

// Writes the font image to `path`; prints a message and returns false on failure.
bool write_dot_font(const std::string& path);

#endif
