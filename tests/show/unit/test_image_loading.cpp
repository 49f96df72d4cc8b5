// Loading sprite and font images: whole files decode, broken PNG chunk lists and PNGs that
// declare an oversized image fail at once.
#include "gfx.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t SIGNATURE_BYTES = 8;          // PNG signature before the first chunk
constexpr size_t IHDR_CHUNK_BYTES = 12 + 13;   // the header chunk: frame and 13 bytes of data
constexpr size_t IHDR_TYPE_AT = SIGNATURE_BYTES + 4;                // the header's type, then its data
constexpr size_t IHDR_CRC_AT = SIGNATURE_BYTES + IHDR_CHUNK_BYTES - 4;
constexpr uint32_t LARGEST_SIDE = 8192;        // the largest image side the show accepts

// The bytes of a file of the run folder.
std::vector<unsigned char> read_bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The path of a file of this process in the temporary folder: both profiles' suites run side by side.
std::string temp_path(const char* name)
{
    return std::string(::testing::TempDir()) + std::to_string(getpid()) + "-" + name;
}

// Writes bytes to a file in the temporary folder and returns its path.
std::string write_temp(const std::vector<unsigned char>& bytes, const char* name)
{
    const std::string path = temp_path(name);
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

// The CRC-32 PNG keeps over a chunk's type and data.
uint32_t png_crc(const unsigned char* bytes, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

// Writes `value` big-endian at `at`, as PNG stores its numbers.
void put_number(std::vector<unsigned char>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

// A generated sprite whose header, checksum and all, declares `width` x `height` pixels: a
// well-formed file that a decoder would start to honour.
std::vector<unsigned char> png_declaring(uint32_t width, uint32_t height)
{
    std::vector<unsigned char> bytes = read_bytes("gfx/block.png");
    put_number(bytes, IHDR_TYPE_AT + 4, width);
    put_number(bytes, IHDR_TYPE_AT + 8, height);
    put_number(bytes, IHDR_CRC_AT, png_crc(&bytes[IHDR_TYPE_AT], IHDR_CRC_AT - IHDR_TYPE_AT));
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

TEST(ImageLoading, ImagesDeclaringMoreThanTheLargestSideAreRefusedBeforeDecoding)
{
    const std::vector<unsigned char> huge = png_declaring(16000, 16000);   // 1 GB of pixels in a few bytes
    EXPECT_TRUE(png_chunks_fit(huge.data(), huge.size()));
    EXPECT_FALSE(png_size_fits(huge.data(), huge.size()));
    EXPECT_EQ(load_image(write_temp(huge, "huge.png")), nullptr);

    const std::vector<unsigned char> wide = png_declaring(LARGEST_SIDE + 1, 1);
    const std::vector<unsigned char> tall = png_declaring(1, LARGEST_SIDE + 1);
    const std::vector<unsigned char> largest = png_declaring(LARGEST_SIDE, LARGEST_SIDE);
    EXPECT_FALSE(png_size_fits(wide.data(), wide.size()));
    EXPECT_FALSE(png_size_fits(tall.data(), tall.size()));
    EXPECT_TRUE(png_size_fits(largest.data(), largest.size()));
}

TEST(ImageLoading, SpritesWithinTheLargestSideStillDecode)
{
    const std::vector<unsigned char> bytes = read_bytes("gfx/block.png");
    EXPECT_TRUE(png_size_fits(bytes.data(), bytes.size()));
    const std::vector<unsigned char> same = png_declaring(64, 64);   // block.png's own size, checksum rewritten
    SDL_Surface* image = load_image(write_temp(same, "same-size.png"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->w, 64);
    SDL_FreeSurface(image);
}

TEST(ImageLoading, OtherFormatsAreLeftToTheDecoder)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 7, 5, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    const std::string path = temp_path("picture.bmp");
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);
    const std::vector<unsigned char> bytes = read_bytes(path);
    EXPECT_TRUE(png_chunks_fit(bytes.data(), bytes.size()));
    EXPECT_TRUE(png_size_fits(bytes.data(), bytes.size()));
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
