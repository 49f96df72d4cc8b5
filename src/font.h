// The dot-matrix font: 5 x 5 glyphs cut from one image.
#ifndef FONT_H
#define FONT_H

#include <SDL/SDL.h>
#include <vector>

constexpr int GLYPH_SIZE = 5;       // dots across and down in every glyph
constexpr int GLYPH_PITCH = 6;      // pixels from one glyph cell to the next: 5 dots and 1 gap
constexpr int CHARMAP_LENGTH = 92;  // characters the font has glyphs for

extern const char charmap[CHARMAP_LENGTH + 1];   // the font's characters in glyph order

// One glyph: dots[column][row] is true where it has a dot.
class DOTCHAR {
public:
    bool dots[GLYPH_SIZE][GLYPH_SIZE] = {};
};

// A font: its glyphs, in the order of the image's cells.
class DOTFONT {
public:
    std::vector<DOTCHAR> chars;

    // Appends one glyph per cell of the image's top row; "Invalid image." for null.
    void parseimage(SDL_Surface* image, int cellwidth, int cellheight, int spacing);

    // The glyph number of `c` in charmap, or -1 when the font has no such character.
    int findchar(char c);

    // The glyph of `c`, or null when there is none loaded for it.
    const DOTCHAR* glyph(char c);
};

extern DOTFONT cloudfont;   // the dot font the text frames write with, loaded at start-up

#endif
