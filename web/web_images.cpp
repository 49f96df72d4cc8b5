// The browser's images (host_services.h): PNGs decoded by stb_image into plain 32-bit surfaces in
// memory. Emscripten's own IMG_Load_RW keeps a decoded image in a 2D canvas, which it drops once
// OpenGL runs, and premultiplies its alpha.
#include "host_services.h"

#include <cstdlib>

extern "C" {
unsigned char* stbi_load_from_memory(const unsigned char* buffer, int len, int* x, int* y, int* comp, int req_comp);
void stbi_image_free(void* data);
}

constexpr int RGBA = 4;   // stb_image's request for 4 bytes per pixel, R, G, B, A in memory order

// A surface of `pixels` (RGBA bytes, owned by the surface from now on), w x h.
static SDL_Surface* rgba_surface(unsigned char* pixels, int w, int h)
{
    SDL_PixelFormat* format = static_cast<SDL_PixelFormat*>(std::calloc(1, sizeof(SDL_PixelFormat)));
    SDL_Surface* surface = static_cast<SDL_Surface*>(std::calloc(1, sizeof(SDL_Surface)));
    if (!format || !surface) {
        std::free(format);
        std::free(surface);
        stbi_image_free(pixels);
        return nullptr;
    }
    format->BitsPerPixel = 32;
    format->BytesPerPixel = RGBA;
    format->Rmask = 0x000000FF;   // little-endian words of bytes R, G, B, A
    format->Gmask = 0x0000FF00;
    format->Bmask = 0x00FF0000;
    format->Amask = 0xFF000000;
    format->Gshift = 8;
    format->Bshift = 16;
    format->Ashift = 24;
    surface->format = format;
    surface->w = w;
    surface->h = h;
    surface->pitch = w * RGBA;
    surface->pixels = pixels;
    surface->refcount = 1;
    return surface;
}

SDL_Surface* decode_image(const unsigned char* bytes, size_t size)
{
    int w = 0, h = 0, components = 0;
    unsigned char* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &w, &h, &components, RGBA);
    return pixels ? rgba_surface(pixels, w, h) : nullptr;
}

void free_image(SDL_Surface* surface)
{
    if (!surface)
        return;
    stbi_image_free(surface->pixels);
    std::free(surface->format);
    std::free(surface);
}
