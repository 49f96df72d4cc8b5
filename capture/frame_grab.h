// The frame of the tick just run, read back from the back buffer before it is presented.
#ifndef FRAME_GRAB_H
#define FRAME_GRAB_H

#include <cstdint>
#include <vector>

// Reads the whole back buffer into `rgb` as 8-bit RGB rows, top row first.
void read_back_buffer(int width, int height, std::vector<uint8_t>& rgb);

#endif
