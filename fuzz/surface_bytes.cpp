#include "surface_bytes.h"

#include <cstring>

namespace {

constexpr int DEPTHS[] = {8, 16, 24, 32};   // the depths byte 4 chooses from
constexpr int DEPTH_CHOICES = 4;
constexpr uint8_t ALPHA_BIT = 1;            // byte 5: the surface has an alpha mask
constexpr uint8_t BLUE_LOW_BIT = 2;         // byte 5: blue in the low bits, red in the high ones
constexpr int MASK_CHOICES = 4;             // the values bytes 5 names

// The colour masks of a surface.
struct Masks {
    Uint32 r = 0, g = 0, b = 0, a = 0;
};

// The masks that byte 5 names at `depth`; none for 8 bits (a palette).
Masks masks_for(int depth, uint8_t choice)
{
    const bool alpha = choice & ALPHA_BIT;
    const bool blue_low = choice & BLUE_LOW_BIT;
    Masks m;
    if (depth == 16) {
        // 5-6-5, or 5-5-5 with one bit of alpha on top.
        const int green_bits = alpha ? 5 : 6;
        const Uint32 low = 0x1F;
        const Uint32 high = low << (5 + green_bits);
        m.g = ((1u << green_bits) - 1) << 5;
        m.r = blue_low ? high : low;
        m.b = blue_low ? low : high;
        m.a = alpha ? 0x8000 : 0;
    } else if (depth >= 24) {
        m.r = blue_low ? 0xFF0000 : 0xFF;
        m.g = 0xFF00;
        m.b = blue_low ? 0xFF : 0xFF0000;
        m.a = alpha && depth == 32 ? 0xFF000000 : 0;
    }
    return m;
}

// The little-endian 16-bit value at `at`.
int read16(const uint8_t* at)
{
    return at[0] | (at[1] << 8);
}

// Appends `value` as a little-endian 16-bit value.
void write16(std::vector<uint8_t>& out, int value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

}

BytesSurface::BytesSurface(const uint8_t* data, std::size_t size)
{
    if (size < SURFACE_HEADER)
        return;
    const int width = read16(data);
    const int height = read16(data + 2);
    const int depth = DEPTHS[data[4] % DEPTH_CHOICES];
    const Masks m = masks_for(depth, data[5]);
    const int pitch = read16(data + 6);
    const std::size_t needed = static_cast<std::size_t>(pitch) * height;
    if (width == 0 || height == 0 || pitch < width * (depth / 8) || size - SURFACE_HEADER < needed)
        return;
    pixels.assign(data + SURFACE_HEADER, data + SURFACE_HEADER + needed);
    surface = SDL_CreateRGBSurfaceFrom(pixels.data(), width, height, depth, pitch, m.r, m.g, m.b, m.a);
}

BytesSurface::~BytesSurface()
{
    if (surface)
        SDL_FreeSurface(surface);   // leaves the pixels, which the vector owns
}

std::vector<uint8_t> surface_to_bytes(SDL_Surface* surface)
{
    const SDL_PixelFormat* f = surface->format;
    int depth_choice = -1;
    for (int d = 0; d < DEPTH_CHOICES; ++d)
        if (DEPTHS[d] == f->BitsPerPixel)
            depth_choice = d;
    int mask_choice = -1;
    for (int c = MASK_CHOICES - 1; c >= 0; --c) {
        const Masks m = masks_for(f->BitsPerPixel, static_cast<uint8_t>(c));
        if (m.r == f->Rmask && m.g == f->Gmask && m.b == f->Bmask && m.a == f->Amask)
            mask_choice = c;
    }
    if (depth_choice < 0 || mask_choice < 0)
        return {};
    std::vector<uint8_t> out;
    write16(out, surface->w);
    write16(out, surface->h);
    out.push_back(static_cast<uint8_t>(depth_choice));
    out.push_back(static_cast<uint8_t>(mask_choice));
    write16(out, surface->pitch);
    SDL_LockSurface(surface);
    const uint8_t* first = static_cast<const uint8_t*>(surface->pixels);
    out.insert(out.end(), first, first + static_cast<std::size_t>(surface->pitch) * surface->h);
    SDL_UnlockSurface(surface);
    return out;
}
