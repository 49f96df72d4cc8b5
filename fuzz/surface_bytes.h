// Surfaces as flat bytes, the form the font fuzzer's inputs take: an 8-byte header, then pixels.
//   bytes 0-1  width, little-endian          byte 4  depth: 8, 16, 24 or 32 bits, by value % 4
//   bytes 2-3  height, little-endian         byte 5  masks: bit 0 alpha, bit 1 blue in the low bits
//   bytes 6-7  pitch, little-endian          then    pitch x height bytes of pixels
#ifndef FUZZ_SURFACE_BYTES_H
#define FUZZ_SURFACE_BYTES_H

#include <SDL/SDL.h>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t SURFACE_HEADER = 8;   // bytes before the pixels

// A surface over pixels it owns, built from bytes; null when the bytes describe no consistent surface.
class BytesSurface {
public:
    BytesSurface(const uint8_t* data, std::size_t size);
    ~BytesSurface();
    BytesSurface(const BytesSurface&) = delete;
    BytesSurface& operator=(const BytesSurface&) = delete;

    // The surface, or null.
    SDL_Surface* get() const { return surface; }

private:
    std::vector<uint8_t> pixels;   // exactly pitch x height bytes, so reading past them is caught
    SDL_Surface* surface = nullptr;
};

// The bytes of a surface of 8, 16, 24 or 32 bits with masks the layout can name; empty otherwise.
std::vector<uint8_t> surface_to_bytes(SDL_Surface* surface);

#endif
