// Loading sprite and font images: whole files decode, broken PNG chunk lists fail at once.
#include "gfx.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr size_t SIGNATURE_BYTES = 8;          // PNG signature before the first chunk
constexpr size_t IHDR_CHUNK_BYTES = 12 + 13;   // the header chunk: frame and 13 bytes of data

// The bytes of a file of the run folder.
std::vector<unsigned char> read_bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Writes bytes to a file in the temporary folder and returns its path.
std::string write_temp(const std::vector<unsigned char>& bytes, const char* name)
{
    const std::string path = std::string(::testing::TempDir()) + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

// A generated sprite whose second chunk claims about 7 MB of data it does not have.
std::vector<unsigned char> png_with_overlong_chunk()
{
    std::vector<unsigned char> bytes = read_bytes("gfx/block.png");
    const size_t second = SIGNATURE_BYTES + IHDR_CHUNK_BYTES;
    bytes[second] = 0x00;
    bytes[second + 1] = 0x6e;
    bytes[second + 2] = 0x00;
    bytes[second + 3] = 0x06;
    return bytes;
}

TEST(ImageLoading, GeneratedSpritesDecodeWhole)
{
    const std::vector<unsigned char> bytes = read_bytes("gfx/sockwalk.png");
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(png_chunks_fit(bytes.data(), bytes.size()));
    SDL_Surface* image = load_image("gfx/sockwalk.png");
    ASSERT_NE(image, nullptr);
    EXPECT_GT(image->w, 0);
    EXPECT_EQ(image->format->BitsPerPixel, 32);
    SDL_FreeSurface(image);
}

TEST(ImageLoading, ChunkRunningPastTheEndFailsInsteadOfSpinning)
{
    const std::vector<unsigned char> bytes = png_with_overlong_chunk();
    EXPECT_FALSE(png_chunks_fit(bytes.data(), bytes.size()));
    EXPECT_EQ(load_image(write_temp(bytes, "overlong-chunk.png")), nullptr);
}

TEST(ImageLoading, PngCutBeforeItsEndChunkFails)
{
    std::vector<unsigned char> bytes = read_bytes("gfx/block.png");
    bytes.resize(bytes.size() - 12);   // drop the IEND chunk: the last chunk now ends the file
    EXPECT_FALSE(png_chunks_fit(bytes.data(), bytes.size()));
    bytes.resize(bytes.size() / 2);    // cut in the middle of a chunk
    EXPECT_FALSE(png_chunks_fit(bytes.data(), bytes.size()));
    EXPECT_EQ(load_image(write_temp(bytes, "half.png")), nullptr);
}

TEST(ImageLoading, OtherFormatsAreLeftToTheDecoder)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 7, 5, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    const std::string path = std::string(::testing::TempDir()) + "picture.bmp";
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);
    const std::vector<unsigned char> bytes = read_bytes(path);
    EXPECT_TRUE(png_chunks_fit(bytes.data(), bytes.size()));
    SDL_Surface* image = load_image(path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->w, 7);
    EXPECT_EQ(image->h, 5);
    SDL_FreeSurface(image);
}

TEST(ImageLoading, MissingAndEmptyFilesGiveNothing)
{
    EXPECT_EQ(load_image("gfx/no-such-picture.png"), nullptr);
    EXPECT_EQ(load_image(write_temp({}, "empty.png")), nullptr);
}

}
