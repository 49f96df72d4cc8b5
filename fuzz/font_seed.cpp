// Writes seeds of the font fuzzer: a font image as surface bytes, at 32, 24 and 16 bits.
#include "surface_bytes.h"

#include <SDL/SDL_image.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr int SEED_DEPTHS[] = {32, 24, 16};   // the depths the seeds take: the image's own and two converted

// `image` converted to `depth` bits with the masks of the first matching layout, or null.
SDL_Surface* at_depth(SDL_Surface* image, int depth)
{
    const bool alpha = depth != 24;
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, depth, depth == 16 ? 0x7C00 : 0xFF,
                                               depth == 16 ? 0x03E0 : 0xFF00, depth == 16 ? 0x001F : 0xFF0000,
                                               alpha ? (depth == 16 ? 0x8000 : 0xFF000000) : 0);
    if (!target)
        return nullptr;
    SDL_Surface* converted = SDL_ConvertSurface(image, target->format, SDL_SWSURFACE);
    SDL_FreeSurface(target);
    return converted;
}

// Writes `surface` as surface bytes to `path`; false if it cannot.
bool write_seed(SDL_Surface* surface, const std::string& path)
{
    const std::vector<uint8_t> bytes = surface_to_bytes(surface);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return !bytes.empty() && out.good();
}

}

// Usage: font-seed <font image> <output folder, made if missing>
int main(int argc, char** argv)
{
    SDL_Surface* image = argc == 3 ? IMG_Load(argv[1]) : nullptr;
    if (!image) {
        std::fprintf(stderr, "usage: font-seed <font image> <output folder>\n");
        return 1;
    }
    std::filesystem::create_directories(argv[2]);
    int written = 0;
    for (int depth : SEED_DEPTHS) {
        SDL_Surface* converted = at_depth(image, depth);
        if (converted && write_seed(converted, std::string(argv[2]) + "/font" + std::to_string(depth) + ".bin"))
            ++written;
        if (converted)
            SDL_FreeSurface(converted);
    }
    SDL_FreeSurface(image);
    std::fprintf(stderr, "wrote %d font seeds\n", written);
    return written == static_cast<int>(std::size(SEED_DEPTHS)) ? 0 : 1;
}
