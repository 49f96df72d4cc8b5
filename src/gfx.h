// Video mode, OpenGL state and frame; the sprite table and its textures; quad drawing.
#ifndef GFX_H
#define GFX_H

#include "font.h"
#include "geometry.h"
#include "profile.h"

#include <SDL/SDL.h>
#include <string>
#include <vector>

constexpr float PLANET_CENTRE_Y = 700.0f;                  // screen y of the planet centre before the camera height

// The pixel size of one sprite's image.
class SPRITEDATA {
public:
    int w;
    int h;
    SPRITEDATA(int w, int h);
    ~SPRITEDATA();
};

extern std::vector<std::string> gfxfiles;    // sprite image paths; the position is the sprite index
extern std::vector<SPRITEDATA> spritedata;   // one record per loaded sprite, in index order

// Sets up SDL, the video mode, OpenGL, the caption, every sprite texture and the font.
bool init_sdl();

// Puts OpenGL into the show's one fixed state; false if OpenGL reports an error.
bool init_GL();

// Takes a new drawable size (a resized window): the screen follows it, and OpenGL's state and the
// textures come back when SDL made a new context for it; false when SDL or OpenGL fails.
bool resize_show_screen(int w, int h);

// Draws and presents one frame.
void do_gfx();

// Clears the back buffer and draws the scene swarm into it: the frame without presenting it.
void draw_frame();

// Presents the back buffer drawn by draw_frame.
void present_frame();

// Loads the font image into cloudfont as start-up does; false when the image cannot be read.
bool load_font();

// Loads every image of gfxfiles into texture i; false after the first that fails.
bool load_gfx();

// Whether the bytes, if they are a PNG file, hold whole chunks up to IEND. Anything that is
// not a PNG passes: SDL_image judges other formats itself.
bool png_chunks_fit(const unsigned char* bytes, size_t size);

// Whether the bytes, if they are a PNG file, declare an image no wider and no higher than the
// show accepts (8192 pixels). Anything that is not a PNG passes.
bool png_size_fits(const unsigned char* bytes, size_t size);

// Loads an image file, decoded by the host; null when it is missing, unreadable, a PNG whose
// chunks run past the end of the file, or a PNG that declares an oversized image.
SDL_Surface* load_image(const std::string& path);

// Returns the image as a surface OpenGL can read whole: itself when it has 3 or 4 bytes
// per pixel, otherwise a new 32-bit RGBA copy (the caller frees both), or null if converting fails.
SDL_Surface* uploadable_surface(SDL_Surface* image);

// Uploads `image` into texture name `sprite` on the rectangle target and records its size;
// false, with neither texture nor record, when the image cannot be converted.
bool upload_sprite(int sprite, SDL_Surface* image);

// Whether sprite `sprite` has a record (and so a texture) to draw with.
bool sprite_loaded(int sprite);

// Draws one whole sprite with its anchor at the screen point (x + offx, y + offy).
void draw_gl_flat(int sprite, float x, float y, float offx, float offy, float zoom, float rotation,
                  float size, bool flip, int, int, int);

// Draws one whole sprite by polar placement around the planet centre, turned outward.
void draw_gl_entity(int sprite, float x, float y, float camangle, float camy, float zoom, float angle,
                    float size, bool flip, int, int, int);

#endif
