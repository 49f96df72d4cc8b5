// Fuzz target: the dot-font parser, fed surfaces of any depth, size and pitch built from the input.
#include "font.h"
#include "surface_bytes.h"
#include "testsupport.h"

#include <cstdint>

namespace {
const TraceSilencer quiet;   // the parser traces a line end per glyph row
}

// Parses the input's surface as the show parses its font image, then looks up every character.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const BytesSurface image(data, size);
    if (!image.get())
        return 0;
    DOTFONT font;
    font.parseimage(image.get(), GLYPH_SIZE, GLYPH_SIZE, GLYPH_PITCH - GLYPH_SIZE);
    for (int k = 0; k < CHARMAP_LENGTH; ++k) {
        const DOTCHAR* glyph = font.glyph(charmap[k]);
        // A glyph is there exactly when the image had a cell for it.
        if ((glyph != nullptr) != (static_cast<std::size_t>(k) < font.chars.size()))
            __builtin_trap();
    }
    return 0;
}
