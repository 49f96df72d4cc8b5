#include "rgb_frame.h"

#include <algorithm>
#include <cstdio>
#include <png.h>

void flip_rows(std::vector<uint8_t>& pixels, size_t row_bytes)
{
    const size_t rows = pixels.size() / row_bytes;
    for (size_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels.begin() + top * row_bytes, pixels.begin() + (top + 1) * row_bytes,
                         pixels.begin() + bottom * row_bytes);
}

bool write_png_frame(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    image.flags = PNG_IMAGE_FLAG_FAST;   // quick compression: a capture writes thousands of frames
    const int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * RGB_BYTES, nullptr);
    png_image_free(&image);
    return ok != 0;
}

std::string png_frame_name(long number)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06ld.png", number);
    return name;
}
