// Helpers of the drawing tests: the show's window opened once per test program, and pixel reads.
#ifndef GLSUPPORT_H
#define GLSUPPORT_H

#include <cstdint>

// One pixel read back from the frame being drawn.
struct Pixel {
    uint8_t r, g, b, a;
};

// Opens the show's window and OpenGL state once (with init_sdl, so every sprite and the font
// are loaded from the run folder); later calls do nothing. Needs an X display.
void open_show_window();

// Reads the pixel at screen point (x, y), y growing downwards as in the show, from the back buffer.
Pixel read_pixel(int x, int y);

// Clears the back buffer to the show's clear colour.
void clear_frame();

// Writes the back buffer of the whole screen to a PNG file (through a PPM and ImageMagick's convert).
bool save_frame(const char* path);

#endif
