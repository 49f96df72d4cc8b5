#include "font.h"

#include "trace.h"

#include <cstring>

constexpr Uint32 DOT_PIXEL = 0xFFFFFFFF;   // a dot is opaque white: all four bytes 255

DOTFONT cloudfont;

const char charmap[CHARMAP_LENGTH + 1] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz[\\]^_ {}!\"#$%&'*()+,<=>?@-./:~0123456789";

// Returns the image as a 32-bit surface: itself if it already is one, else a converted
// copy that the caller frees (opaque white stays all bits set), or null.
static SDL_Surface* surface32(SDL_Surface* image)
{
    if (image->format->BitsPerPixel == 32)
        return image;
    SDL_PixelFormat format = {};
    format.BitsPerPixel = 32;
    format.BytesPerPixel = 4;
    format.Rmask = 0x00FF0000;
    format.Gmask = 0x0000FF00;
    format.Bmask = 0x000000FF;
    format.Amask = 0xFF000000;
    format.Rshift = 16;
    format.Gshift = 8;
    format.Bshift = 0;
    format.Ashift = 24;
    return SDL_ConvertSurface(image, &format, SDL_SWSURFACE);
}

// Whether the pixel at (x, y) of a 32-bit surface is a dot; pixels outside the image are not.
static bool is_dot(SDL_Surface* image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image->w || y >= image->h)
        return false;
    const Uint8* row = static_cast<const Uint8*>(image->pixels) + y * image->pitch;
    Uint32 pixel;
    std::memcpy(&pixel, row + x * 4, sizeof pixel);
    return pixel == DOT_PIXEL;
}

// Cuts the top row of the image into 5 x 5 glyphs; a dot is an opaque white pixel.
void DOTFONT::parseimage(SDL_Surface* image, int cellwidth, int, int spacing)
{
    if (!image) {
        trace() << "Invalid image." << std::endl;
        return;
    }
    const int pitch = cellwidth + spacing;
    if (pitch <= 0)
        return;
    const int cells = image->w / pitch + (image->w % pitch == cellwidth ? 1 : 0);
    SDL_Surface* pixels = surface32(image);
    if (!pixels)
        return;
    // Decoded and converted images are surfaces in memory (host_services.h): no lock is needed.
    for (int k = 0; k < cells; ++k) {
        DOTCHAR glyph;
        for (int r = 0; r < GLYPH_SIZE; ++r) {
            for (int c = 0; c < GLYPH_SIZE; ++c)
                glyph.dots[c][r] = is_dot(pixels, k * GLYPH_PITCH + c, r);
            trace() << std::endl;
        }
        chars.push_back(glyph);
    }
    if (pixels != image)
        SDL_FreeSurface(pixels);
}

// The position of `c` in charmap, or -1.
int DOTFONT::findchar(char c)
{
    for (int k = 0; k < CHARMAP_LENGTH; ++k)
        if (charmap[k] == c)
            return k;
    return -1;
}

// The loaded glyph of `c`, or null when the font has none for it.
const DOTCHAR* DOTFONT::glyph(char c)
{
    const int k = findchar(c);
    if (k < 0 || static_cast<size_t>(k) >= chars.size())
        return nullptr;
    return &chars[k];
}
