// Fuzz target: a sprite image file as the show loads it (chunk check, then SDL_image, any format)
// and converts it for upload, then every byte the texture upload would read.
#include "gfx.h"
#include "testsupport.h"

#include <SDL/SDL_image.h>
#include <cstdint>

namespace {
const TraceSilencer quiet;

constexpr int GL_UNPACK_ROW_ALIGNMENT = 4;   // OpenGL's default unpack alignment, which the upload keeps

// Reads every byte glTexImage2D reads from `pixels`; traps when its rows are not where OpenGL expects them.
unsigned read_as_upload_does(SDL_Surface* pixels)
{
    const int row_bytes = pixels->w * pixels->format->BytesPerPixel;
    const int stride = (row_bytes + GL_UNPACK_ROW_ALIGNMENT - 1) / GL_UNPACK_ROW_ALIGNMENT * GL_UNPACK_ROW_ALIGNMENT;
    if (pixels->format->BytesPerPixel < 3 || pixels->pitch != stride)
        __builtin_trap();
    unsigned sum = 0;
    const uint8_t* first = static_cast<const uint8_t*>(pixels->pixels);
    for (int y = 0; y < pixels->h; ++y)
        for (int x = 0; x < row_bytes; ++x)
            sum += first[static_cast<std::size_t>(y) * stride + x];
    return sum;
}
}

// Loads the input as an image file and prepares it for upload as load_gfx does.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (!png_chunks_fit(data, size))   // load_gfx refuses these before SDL_image sees them
        return 0;
    SDL_Surface* image = IMG_Load_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1);
    if (!image)
        return 0;
    SDL_Surface* pixels = uploadable_surface(image);
    if (pixels) {
        volatile unsigned sum = read_as_upload_does(pixels);
        (void)sum;
    }
    if (pixels && pixels != image)
        SDL_FreeSurface(pixels);
    SDL_FreeSurface(image);
    return 0;
}
