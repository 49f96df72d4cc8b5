// A frame held in memory as 8-bit RGB rows: turned upright, written as a PNG file.
#ifndef RGB_FRAME_H
#define RGB_FRAME_H

#include <cstdint>
#include <string>
#include <vector>

constexpr int RGB_BYTES = 3;   // bytes of one 8-bit RGB pixel, as glReadPixels(GL_RGB) gives it

// Turns rows of `row_bytes` bytes upside down in place.
void flip_rows(std::vector<uint8_t>& pixels, size_t row_bytes);

// Writes `rgb` (8-bit RGB rows, top first, `width` x `height`) to a PNG at `path`; false if that fails.
bool write_png_frame(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height);

// The file name of frame `number` in a frame folder: frame-000000.png, frame-000001.png, ...
std::string png_frame_name(long number);

#endif
