#include "gfx.h"

#include "drawpath.h"
#include "host_services.h"
#include "sceneswarm.h"
#include "screen.h"
#include "settings.h"
#include "show_drawing.h"
#include "show_trig.h"
#include "showfiles.h"
#include "sprite_texture.h"
#include "trace.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

constexpr float RIGHT_ANGLE_DEGREES = 90.0f;   // turns a sprite's top away from the planet centre
constexpr float ALPHA_TEST_REF = 0.9f;         // alpha-test reference (alpha testing itself stays off)
constexpr unsigned char PNG_SIGNATURE[] = {137, 80, 78, 71, 13, 10, 26, 10};   // the first bytes of every PNG file
constexpr size_t PNG_CHUNK_FRAME = 12;         // bytes around a chunk's data: length, type and CRC
constexpr size_t PNG_CHUNK_TYPE_AT = 4;        // where a chunk's type follows its length
constexpr size_t PNG_WIDTH_AT = 16;            // the header chunk's width: after the signature, length and type
constexpr size_t PNG_HEIGHT_AT = 20;           // and its height right after
constexpr size_t PNG_SIZE_END = 24;            // bytes up to the end of the declared height
constexpr size_t MAX_IMAGE_SIDE = 8192;        // the largest side of a sprite: 14 times the largest the show
                                               // has, within every rectangle-texture limit of GL drivers

std::vector<std::string> gfxfiles(SPRITE_FILES.begin(), SPRITE_FILES.end());
std::vector<SPRITEDATA> spritedata;

// A sprite's size record.
SPRITEDATA::SPRITEDATA(int w, int h) : w(w), h(h) {}

// Nothing to release: the record is plain values.
SPRITEDATA::~SPRITEDATA() {}

// Opens the full-screen OpenGL window of the profile (or the screen the settings ask for) and loads
// the sprites and the font.
bool init_sdl()
{
    read_screen_settings();   // before SDL_Init, which reads SDL_WINDOWID itself
    if (SDL_Init(sdl_subsystems()) < 0)
        return false;
    if (!open_screen())
        return false;
    if (!init_GL())
        return false;
    choose_draw_path(setting_value(Setting::DRAW));
    if (screen_owns_window())
        SDL_WM_SetCaption("Quoravint", nullptr);
    load_gfx();
    load_font();
    return true;
}

// Loads the font image into cloudfont; a missing image is handed on, so parseimage reports it.
bool load_font()
{
    SDL_Surface* fontimage = load_image(FONT_FILE);
    cloudfont.parseimage(fontimage, GLYPH_SIZE, GLYPH_SIZE, GLYPH_PITCH - GLYPH_SIZE);
    free_image(fontimage);
    return fontimage != nullptr;
}

// Sets the one OpenGL state every quad relies on: pixel projection, top-left origin, alpha blending.
bool init_GL()
{
    glClearColor(0, 0, 0, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, SCREEN_WIDTH, SCREEN_HEIGHT, 0.0, -1.0, 1.0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glAlphaFunc(GL_GREATER, ALPHA_TEST_REF);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    if (glGetError() != GL_NO_ERROR)
        return false;
    glEnable(SPRITE_TEXTURE);
    return true;
}

// The state first, then the textures, as start-up makes them.
bool resize_show_screen(int w, int h)
{
    const ScreenResized resized = resize_screen(w, h);
    if (resized == ScreenResized::FAILED)
        return false;
    if (resized == ScreenResized::NEW_CONTEXT) {
        if (!init_GL())
            return false;
        load_gfx();
    }
    return true;
}

// Draws the frame and presents it.
void do_gfx()
{
    draw_frame();
    present_frame();
}

// Clears the back buffer (or has the fast path work out it need not) and draws the scenes into
// it, back to front.
void draw_frame()
{
    begin_frame();
    draw_show(sceneswarm);
    end_frame();
}

// Shows the back buffer; an off-screen frame has nowhere to be shown.
void present_frame()
{
    if (screen_is_sdl())
        SDL_GL_SwapBuffers();
}

// The big-endian 32-bit number at `bytes`, as PNG stores its chunk lengths.
static size_t png_number(const unsigned char* bytes)
{
    return (size_t(bytes[0]) << 24) | (size_t(bytes[1]) << 16) | (size_t(bytes[2]) << 8) | size_t(bytes[3]);
}

// Whether a PNG's chunks all lie inside the file. SDL_image ignores short reads, so a chunk that
// claims to run past the end would have it decode stale bytes for ever instead of failing.
bool png_chunks_fit(const unsigned char* bytes, size_t size)
{
    if (size < sizeof PNG_SIGNATURE || std::memcmp(bytes, PNG_SIGNATURE, sizeof PNG_SIGNATURE) != 0)
        return true;
    for (size_t at = sizeof PNG_SIGNATURE; at + PNG_CHUNK_FRAME <= size;) {
        const size_t length = png_number(bytes + at);
        if (length > size - at - PNG_CHUNK_FRAME)
            return false;
        const bool last = std::memcmp(bytes + at + PNG_CHUNK_TYPE_AT, "IEND", 4) == 0;
        at += PNG_CHUNK_FRAME + length;
        if (last)
            return true;
    }
    return false;
}

// Whether a PNG's header declares a size the show can hold: a few kilobytes of PNG may declare
// 16000 x 16000 pixels, which would have the decoder allocate gigabytes. Anything else passes.
bool png_size_fits(const unsigned char* bytes, size_t size)
{
    if (size < PNG_SIZE_END || std::memcmp(bytes, PNG_SIGNATURE, sizeof PNG_SIGNATURE) != 0)
        return true;
    const size_t width = png_number(bytes + PNG_WIDTH_AT);
    const size_t height = png_number(bytes + PNG_HEIGHT_AT);
    return width <= MAX_IMAGE_SIDE && height <= MAX_IMAGE_SIDE;
}

// Reads the whole file and decodes it from memory, once its chunks are known to fit and its
// declared size to be sane.
SDL_Surface* load_image(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.empty() || !png_chunks_fit(bytes.data(), bytes.size()) || !png_size_fits(bytes.data(), bytes.size()))
        return nullptr;
    return decode_image(bytes.data(), bytes.size());
}

// The image in a layout OpenGL reads whole: 3 or 4 bytes per pixel.
SDL_Surface* uploadable_surface(SDL_Surface* image)
{
    if (image->format->BytesPerPixel >= 3)
        return image;
    // Paletted and grey images become 32-bit RGBA, bytes in memory order R, G, B, A.
    SDL_PixelFormat rgba = {};
    rgba.BitsPerPixel = 32;
    rgba.BytesPerPixel = 4;
    rgba.Rmask = SDL_SwapLE32(0x000000FF);
    rgba.Gmask = SDL_SwapLE32(0x0000FF00);
    rgba.Bmask = SDL_SwapLE32(0x00FF0000);
    rgba.Amask = SDL_SwapLE32(0xFF000000);
    rgba.Rshift = SDL_BYTEORDER == SDL_LIL_ENDIAN ? 0 : 24;
    rgba.Gshift = SDL_BYTEORDER == SDL_LIL_ENDIAN ? 8 : 16;
    rgba.Bshift = SDL_BYTEORDER == SDL_LIL_ENDIAN ? 16 : 8;
    rgba.Ashift = SDL_BYTEORDER == SDL_LIL_ENDIAN ? 24 : 0;
    return SDL_ConvertSurface(image, &rgba, SDL_SWSURFACE);
}

// Uploads the image into texture `sprite` with linear filtering and records its size; false,
// with neither texture nor record, when the image cannot be converted for OpenGL.
bool upload_sprite(int sprite, SDL_Surface* image)
{
    SDL_Surface* pixels = uploadable_surface(image);
    if (!pixels)
        return false;
    glBindTexture(SPRITE_TEXTURE, sprite_texture_name(sprite));
    const GLenum format = pixels->format->BytesPerPixel == 4 ? GL_RGBA : GL_RGB;
    glTexImage2D(SPRITE_TEXTURE, 0, GL_RGBA, pixels->w, pixels->h, 0, format, GL_UNSIGNED_BYTE, pixels->pixels);
    glTexParameteri(SPRITE_TEXTURE, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(SPRITE_TEXTURE, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Rectangle textures clamp anyway; WebGL's 2D textures of any size are drawn only when clamped.
    glTexParameteri(SPRITE_TEXTURE, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(SPRITE_TEXTURE, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    learn_sprite_alpha(sprite, pixels);
    spritedata.push_back(SPRITEDATA(image->w, image->h));
    if (pixels != image)
        SDL_FreeSurface(pixels);
    return true;
}

// Loads every sprite image into its texture, tracing each path; stops at the first that fails,
// so that record i always belongs to sprite i.
bool load_gfx()
{
    for (size_t i = 0; i < gfxfiles.size(); ++i) {
        trace() << gfxfiles[i] << std::endl;
        SDL_Surface* image = load_image(gfxfiles[i]);
        const bool uploaded = image && upload_sprite(static_cast<int>(i), image);
        free_image(image);
        if (!uploaded) {
            trace() << "Error loading " << gfxfiles[i] << "  " << std::endl;
            return false;
        }
    }
    return true;
}

// Whether the sprite has a size record and a texture.
bool sprite_loaded(int sprite)
{
    return sprite >= 0 && static_cast<size_t>(sprite) < spritedata.size();
}

// Whether a quad of the sprite at scale s shows anything: it needs a record (and so a texture),
// and a zero scale would also make its translation divide by zero.
static bool quad_visible(int sprite, float s)
{
    return sprite_loaded(sprite) && s != 0.0f;
}

// The placement of the sprite's quad: scaled by s, its anchor (ax, ay) moved to (tx, ty) in scaled
// units and the quad turned by `turn` degrees about it.
static PlacedQuad placed_quad(int sprite, float s, float tx, float ty, float turn, int ax, int ay, bool flip)
{
    return {sprite, spritedata[sprite].w, spritedata[sprite].h, s, tx, ty, turn, ax, ay, flip};
}

// Draws the whole sprite with its anchor on a screen point, scaled by size and zoom and turned by rotation.
void draw_gl_flat(int sprite, float x, float y, float offx, float offy, float zoom, float rotation, float size,
                  bool flip, int, int, int)
{
    const float s = size * zoom;
    const float px = x + offx;
    const float py = y + offy;
    trace() << "ax " << px / s << " ay " << py / s << std::endl;   // written even when nothing is drawn
    if (!quad_visible(sprite, s))
        return;
    const SPRITEDATA& data = spritedata[sprite];
    const int ax = static_cast<int>((data.w / 2) * zoom);
    const int ay = static_cast<int>((data.h / 2) * zoom);
    draw_placed_quad(placed_quad(sprite, s, px / s, py / s, rotation, ax, ay, flip));
}

// Draws the whole sprite around the planet centre, its top turned away from the centre.
void draw_gl_entity(int sprite, float x, float y, float camangle, float camy, float zoom, float angle, float size,
                    bool flip, int, int, int)
{
    const float s = size * zoom;
    trace() << "SCALE " << zoom << std::endl;   // written even when nothing is drawn
    if (!quad_visible(sprite, s))
        return;
    const SPRITEDATA& data = spritedata[sprite];
    const int ax = data.w / 2;
    const int ay = data.h / 2;
    const float a = (x - camangle) * zoom;
    const float px = show_cos(a) * y + HALF_WIDTH;
    const float py = show_sin(a) * y + PLANET_CENTRE_Y + camy + ((data.h / 2) / 2) / zoom;
    const float turn = static_cast<float>(a * DEGREES_PER_RADIAN + RIGHT_ANGLE_DEGREES + angle * DEGREES_PER_RADIAN);
    draw_placed_quad(placed_quad(sprite, s, px / s, py / s, turn, ax, ay, flip));
}
