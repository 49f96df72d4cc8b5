// The frame of the tick just run: drawn like the show draws it, read back before it is presented.
#ifndef FRAME_GRAB_H
#define FRAME_GRAB_H

#include <cstdint>
#include <vector>

// Draws the show's frame into the back buffer without presenting it: clear, then both scenes.
void draw_show_frame();

// Reads the whole back buffer into `rgb` as 8-bit RGB rows, top row first.
void read_back_buffer(int width, int height, std::vector<uint8_t>& rgb);

#endif
