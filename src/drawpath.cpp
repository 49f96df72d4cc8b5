#include "drawpath.h"

#include "profile.h"
#include "screen.h"
#include "settings.h"
#include "sprite_texture.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <vector>

namespace {

constexpr int MAX_KNOWN_SPRITES = 1024; // far more sprites than the show has; later ones are drawn the reference way
constexpr int GL_ERROR_FLAGS = 8;       // OpenGL keeps at most one flag per kind of error, and has fewer kinds
// A quad is scissored only when that leaves out at least this many pixels, a tile of the software
// rasteriser: a scissor that cuts less costs more (a state change and extra edge tests) than it saves.
constexpr double MIN_CUT_PIXELS = 64 * 64;
// Axis-aligned quads at least this many pixels large are drawn in bands of rows, each limited to
// the columns it can change and unblended where it reads only opaque texels: below this, the
// extra draws cost more than the fragments they save.
constexpr long BANDED_MIN_PIXELS = 256 * 256;
// Screen rows per band: the software rasteriser's tile height, so that bands split no tile row.
constexpr int BAND_ROWS = 64;
// A backdrop is kept in a texture only when it covers at least this share of the screen: below it,
// a clear and the quad cost less than copying the whole screen.
constexpr double KEEP_BACKDROP_SHARE = 0.5;
// The kept backdrop's texels: colour only. A copy may not ask for an alpha the screen lacks (a
// browser's canvas has none), and the picture's colours are all that is put back.
constexpr GLenum BACKDROP_FORMAT = GL_RGB;

// What the fast path keeps between frames and within one.
struct FastState {
    std::vector<SpriteAlpha> sprites;
    bool in_frame = false;
    bool clear_pending = false;     // the frame's clear is owed until its first quad shows whether it is needed
    bool first_drawn = false;       // a quad that reaches the screen was drawn this frame
    bool bound_known = false;       // whether `bound` is what the rectangle target has bound
    GLuint bound = 0;
    bool blending = true;           // as the frame left GL_BLEND
    bool scissoring = false;        // as the frame left GL_SCISSOR_TEST
    bool had_first = false;         // whether the last frame had a first quad, kept in `last_first`
    PlacedQuad last_first;
    GLuint backdrop_texture = 0;    // 0 until the texture that keeps a backdrop is made
    bool backdrop_kept = false;     // whether it holds the clear and the first quad `backdrop`
    PlacedQuad backdrop;
    unsigned fits_seen = 0;         // frame fits applied when the backdrop was last forgotten
};

DrawPath current_path = DEFAULT_DRAW_PATH;
FastState fast;
DrawSavings savings;
std::vector<PlacedQuad>* watcher = nullptr;   // where the quads drawn are listed, when someone asks

// Binds `texture` on the rectangle target unless the frame knows it is bound already.
void bind(GLuint texture)
{
    if (fast.in_frame && fast.bound_known && fast.bound == texture) {
        ++savings.binds;
        return;
    }
    glBindTexture(SPRITE_TEXTURE, texture);
    fast.bound = texture;
    fast.bound_known = fast.in_frame;
}

// Turns blending on or off unless it already is.
void set_blending(bool on)
{
    if (fast.blending == on)
        return;
    if (on)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    fast.blending = on;
}

// The first pixel of the drawable, along one axis, whose centre lies at or past the frame's pixel edge
// `edge`, the frame being `size` pixels long from `origin` there. Boxes that share an edge share its
// pixel: neither a gap nor an overlap between them, whatever the frame's scale.
int drawable_edge(int edge, int origin, int size, int profile_size)
{
    return origin + static_cast<int>(std::ceil(double(edge) * size / profile_size - 0.5));
}

// Limits drawing to the screen box `box` (y down, whole pixels of the frame), or to nothing less than
// the screen with null; the box is carried to the drawable's pixels where the frame is fitted.
void set_scissor(const IntBox* box)
{
    if (!box) {
        if (fast.scissoring)
            glDisable(GL_SCISSOR_TEST);
        fast.scissoring = false;
        return;
    }
    const FrameFit& fit = frame_fit();
    const int x0 = drawable_edge(box->x0, fit.x, fit.w, SCREEN_WIDTH);
    const int x1 = drawable_edge(box->x1 + 1, fit.x, fit.w, SCREEN_WIDTH);
    const int y0 = drawable_edge(SCREEN_HEIGHT - 1 - box->y1, fit.y, fit.h, SCREEN_HEIGHT);   // OpenGL's rows run up
    const int y1 = drawable_edge(SCREEN_HEIGHT - box->y0, fit.y, fit.h, SCREEN_HEIGHT);
    glScissor(x0, y0, x1 - x0, y1 - y0);
    if (!fast.scissoring)
        glEnable(GL_SCISSOR_TEST);
    fast.scissoring = true;
}

// Sets up the quad's model-view matrix, draws its vertices and resets the matrix, as designed.
void emit_quad(const PlacedQuad& q)
{
    glLoadIdentity();
    glScaled(q.s, q.s, 0);
    glTranslatef(q.tx, q.ty, 0);
    glRotatef(q.turn, 0, 0, 1);
    const int left = q.flip ? q.ax - q.w : -q.ax;
    const int right = q.flip ? q.ax : q.w - q.ax;
    const int top = -q.ay;
    const int bottom = q.h - q.ay;
    const int sleft = q.flip ? q.w : 0;
    const int sright = q.flip ? 0 : q.w;
    const float s0 = texel_coordinate(sleft, q.w);
    const float s1 = texel_coordinate(sright, q.w);
    const float t1 = texel_coordinate(q.h, q.h);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t1);
    glVertex2i(left, bottom);
    glTexCoord2f(s1, t1);
    glVertex2i(right, bottom);
    glTexCoord2f(s1, 0);
    glVertex2i(right, top);
    glTexCoord2f(s0, 0);
    glVertex2i(left, top);
    glEnd();
    glLoadIdentity();
}

// Pays the frame's clear if it is still owed.
void settle_clear()
{
    if (fast.clear_pending)
        glClear(GL_COLOR_BUFFER_BIT);
    fast.clear_pending = false;
}

// Empties OpenGL's error flags, raised by others, so that the next check sees only what follows.
void forget_gl_errors()
{
    for (int i = 0; i < GL_ERROR_FLAGS && glGetError() != GL_NO_ERROR; ++i)
        continue;
}

// Points copies from the screen at the buffer being drawn into: the back buffer of the usual
// double-buffered window, the front one otherwise. WebGL has no such choice: it copies from the
// drawing buffer bound, the one being drawn into.
void read_from_drawn_buffer()
{
#ifndef __EMSCRIPTEN__
    GLint drawn_into;
    glGetIntegerv(GL_DRAW_BUFFER, &drawn_into);
    glReadBuffer(static_cast<GLenum>(drawn_into));
#endif
}

// Copies the frame's pixels, as the clear and the first quad left them, into the backdrop texture.
void keep_backdrop(const PlacedQuad& q)
{
    if (!fast.backdrop_texture) {
        glGenTextures(1, &fast.backdrop_texture);
        bind(fast.backdrop_texture);
        glTexImage2D(SPRITE_TEXTURE, 0, BACKDROP_FORMAT, frame_fit().w, frame_fit().h, 0, BACKDROP_FORMAT,
                     GL_UNSIGNED_BYTE, nullptr);
        // Nearest texels, one per pixel: the copy puts back exactly the pixels it took.
        glTexParameteri(SPRITE_TEXTURE, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(SPRITE_TEXTURE, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(SPRITE_TEXTURE, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(SPRITE_TEXTURE, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    bind(fast.backdrop_texture);
    forget_gl_errors();
    read_from_drawn_buffer();
    glCopyTexSubImage2D(SPRITE_TEXTURE, 0, 0, 0, frame_fit().x, frame_fit().y, frame_fit().w, frame_fit().h);
    // A texture the driver could not make this large, or a copy it refused, keeps nothing.
    fast.backdrop_kept = glGetError() == GL_NO_ERROR;
    fast.backdrop = q;
    savings.backdrops_kept += fast.backdrop_kept;
}

// Draws the kept backdrop over the whole screen, pixel for pixel.
void put_backdrop()
{
    bind(fast.backdrop_texture);
    set_blending(false);
    set_scissor(nullptr);
    glLoadIdentity();
    // The texel itself rather than the texel times the white colour: the same value, fewer
    // operations per fragment for the software rasteriser.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // Texture rows run bottom to top as the screen's rows did when they were copied.
    const float right = texel_coordinate(frame_fit().w, frame_fit().w);   // one texel per pixel of the fitted frame
    const float top = texel_coordinate(frame_fit().h, frame_fit().h);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, SCREEN_HEIGHT);
    glTexCoord2f(right, 0);
    glVertex2i(SCREEN_WIDTH, SCREEN_HEIGHT);
    glTexCoord2f(right, top);
    glVertex2i(SCREEN_WIDTH, 0);
    glTexCoord2f(0, top);
    glVertex2i(0, 0);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);   // the show's texture mode again
}

// Draws the quad the reference way: bound, blended, whole.
void reference_quad(const PlacedQuad& q)
{
    glBindTexture(SPRITE_TEXTURE, sprite_texture_name(q.sprite));
    fast.bound_known = false;
    emit_quad(q);
}

// What the fast path knows of the quad's sprite, or null when it knows nothing it can use.
const SpriteAlpha* known_alpha(const PlacedQuad& q)
{
    if (q.sprite < 0 || q.sprite >= static_cast<int>(fast.sprites.size()))
        return nullptr;
    const SpriteAlpha& a = fast.sprites[q.sprite];
    return a.known && a.w == q.w && a.h == q.h ? &a : nullptr;
}

// How the fast path draws one quad.
struct QuadPlan {
    bool shows = true;        // false: no fragment can change a pixel
    bool opaque = false;      // every texel an on-screen fragment can read is opaque
    bool cut = false;         // `pixels` leaves out part of the screen
    IntBox pixels = {0, 0, SCREEN_WIDTH - 1, SCREEN_HEIGHT - 1};
};

// Works out what drawing the quad can change, from its sprite's alpha; blended and whole when unknown.
QuadPlan plan_quad(const PlacedQuad& q)
{
    QuadPlan plan;
    const SpriteAlpha* alpha = known_alpha(q);
    if (!alpha)
        return plan;
    const Box seen = on_screen_texture(q);
    if (empty(seen) || !visible_pixels(q, {alpha->x0, alpha->y0, alpha->x1, alpha->y1}, plan.pixels)) {
        plan.shows = false;   // off screen, or every texel it can read there is fully transparent
        return plan;
    }
    plan.opaque = all_opaque(*alpha, texels_read(seen, q.w, q.h));
    const double kept = double(plan.pixels.x1 - plan.pixels.x0 + 1) * (plan.pixels.y1 - plan.pixels.y0 + 1);
    plan.cut = on_screen_pixels(q) - kept >= MIN_CUT_PIXELS;
    return plan;
}

// Starts the frame's picture with its first quad: puts the kept backdrop when the quad is the one
// kept (true: the quad is drawn), else pays the clear unless the quad covers the screen opaquely.
// `keep` says whether the quad should be kept once drawn: it was the first quad last frame too.
bool start_picture(const PlacedQuad& q, const QuadPlan& plan, bool& keep)
{
    fast.first_drawn = true;
    keep = fast.had_first && same_quad(fast.last_first, q) && screen_share(q) >= KEEP_BACKDROP_SHARE;
    fast.had_first = true;
    fast.last_first = q;
    // The bars around a fitted frame are black only if cleared: the clear is left out only without bars.
    const bool clear_skippable = frame_fills_drawable();
    if (fast.backdrop_kept && same_quad(fast.backdrop, q)) {
        if (clear_skippable)
            fast.clear_pending = false;
        settle_clear();
        put_backdrop();
        ++savings.backdrops_put;
        return true;
    }
    if (plan.opaque && covers_screen(q) && clear_skippable)
        ++savings.clears;
    else
        settle_clear();
    fast.clear_pending = false;
    return false;
}

// Whether the quad is drawn in bands: unturned, of a known sprite, and large on screen.
bool banded(const PlacedQuad& q, const QuadPlan& plan)
{
    const long pixels = long(plan.pixels.x1 - plan.pixels.x0 + 1) * (plan.pixels.y1 - plan.pixels.y0 + 1);
    return q.turn == 0.0f && known_alpha(q) && pixels >= BANDED_MIN_PIXELS;
}

// Draws the quad over the pixels x0 to x1 of screen rows y0 to y1, blended or not.
void draw_segment(const PlacedQuad& q, int x0, int x1, int y0, int y1, bool blended)
{
    if (x0 > x1)
        return;
    const IntBox box = {x0, y0, x1, y1};
    set_blending(blended);
    set_scissor(&box);
    emit_quad(q);
}

// Draws screen rows y0 to y1 of an unturned quad: only the columns that can read a texel with
// alpha above 0, and without blending those that read only opaque texels.
void draw_band(const PlacedQuad& q, const SpriteAlpha& a, const IntBox& pixels, int y0, int y1)
{
    double u, v0, v1;
    quad_texture_at(q, 0.0, y0 + 0.5, u, v0);
    quad_texture_at(q, 0.0, y1 + 0.5, u, v1);
    const IntBox rows = texels_read({0.0, std::min(v0, v1), 0.0, std::max(v0, v1)}, q.w, q.h);
    const RowSpans band = band_spans(a, rows.y0, rows.y1);
    if (band.seen_left > band.seen_right)
        return;   // the band reads only fully transparent texels
    int seen0, seen1, opaque0, opaque1;
    // Coordinates from left - 0.5 to right + 1.5 read a texel of the span; slack around that.
    columns_of(q, band.seen_left - 0.5 - TEXEL_SLACK, band.seen_right + 1.5 + TEXEL_SLACK, PIXEL_SLACK, seen0, seen1);
    seen0 = std::max(seen0, pixels.x0);
    seen1 = std::min(seen1, pixels.x1);
    // Coordinates from left + 0.5 to right + 0.5 read two texels of the opaque run; slack inside that.
    columns_of(q, band.opaque_left + 0.5 + TEXEL_SLACK, band.opaque_right + 0.5 - TEXEL_SLACK, -PIXEL_SLACK, opaque0,
               opaque1);
    if (band.opaque_left > band.opaque_right || opaque0 > opaque1) {
        draw_segment(q, seen0, seen1, y0, y1, true);
        return;
    }
    opaque0 = std::max(opaque0, seen0);
    opaque1 = std::min(opaque1, seen1);
    draw_segment(q, seen0, opaque0 - 1, y0, y1, true);
    draw_segment(q, opaque0, opaque1, y0, y1, false);
    draw_segment(q, opaque1 + 1, seen1, y0, y1, true);
}

// Draws an unturned quad in bands of BAND_ROWS screen rows within the pixels it can change.
void draw_bands(const PlacedQuad& q, const IntBox& pixels)
{
    const SpriteAlpha& a = *known_alpha(q);
    for (int top = pixels.y0 / BAND_ROWS * BAND_ROWS; top <= pixels.y1; top += BAND_ROWS)
        draw_band(q, a, pixels, std::max(top, pixels.y0), std::min(top + BAND_ROWS - 1, pixels.y1));
}

// Draws the quad with as little work as gives the reference path's pixels.
void fast_quad(const PlacedQuad& q)
{
    ++savings.quads;
    const QuadPlan plan = plan_quad(q);
    if (!plan.shows) {
        ++savings.unseen;
        return;
    }
    bool keep = false;
    if (!fast.first_drawn && start_picture(q, plan, keep))
        return;
    bind(sprite_texture_name(q.sprite));
    if (!plan.opaque && banded(q, plan)) {
        ++savings.banded;
        draw_bands(q, plan.pixels);
    } else {
        set_blending(!plan.opaque);
        set_scissor(plan.cut ? &plan.pixels : nullptr);
        savings.unblended += plan.opaque;
        savings.cut += plan.cut;
        emit_quad(q);
    }
    if (keep)
        keep_backdrop(q);
}

// Deletes the backdrop texture, so the next one is made at the frame's new size.
void forget_backdrop()
{
    if (fast.backdrop_texture)
        glDeleteTextures(1, &fast.backdrop_texture);
    fast.backdrop_texture = 0;
    fast.backdrop_kept = false;
    fast.had_first = false;
    fast.bound_known = false;
}

}

// The path frames are drawn with now.
DrawPath draw_path()
{
    return current_path;
}

// The counts since the last reset.
DrawSavings draw_savings()
{
    return savings;
}

// Starts the counts again.
void reset_draw_savings()
{
    savings = DrawSavings();
}

// Draws later frames with `path`; whatever the fast path keeps stays valid, being keyed by what it shows.
void set_draw_path(DrawPath path)
{
    current_path = path;
}

// Sets the path from QUORAVINT_DRAW's value, acknowledging the reference path and naming a bad value.
void choose_draw_path(const char* setting)
{
    if (setting && std::strcmp(setting, "reference") == 0) {
        std::cerr << setting_given(Setting::DRAW, setting) << ": drawing every frame the reference way" << std::endl;
        set_draw_path(DrawPath::REFERENCE);
        return;
    }
    if (setting && *setting && std::strcmp(setting, "fast") != 0)
        std::cerr << setting_given(Setting::DRAW, setting) << " is neither \"reference\" nor \"fast\": drawing the fast way"
                  << std::endl;
    set_draw_path(setting && std::strcmp(setting, "fast") == 0 ? DrawPath::FAST : DEFAULT_DRAW_PATH);
}

// Builds the sprite's alpha record from the pixels OpenGL was given; forgets any kept backdrop.
void learn_sprite_alpha(int sprite, const SDL_Surface* pixels)
{
    if (sprite < 0 || sprite >= MAX_KNOWN_SPRITES)
        return;
    if (static_cast<size_t>(sprite) >= fast.sprites.size())
        fast.sprites.resize(sprite + 1);
    fast.backdrop_kept = false;   // the kept backdrop may show the old picture
    fast.had_first = false;
    fast.sprites[sprite] = pixels ? analyse_sprite_alpha(static_cast<const uint8_t*>(pixels->pixels), pixels->w,
                                                         pixels->h, pixels->format->BytesPerPixel)
                                  : SpriteAlpha();
}

// Clears at once on the reference path; the fast path owes the clear until its first quad. A frame
// fitted anew since the last (even to the same place: a browser's canvas is cleared and remade)
// first forgets the backdrop kept before.
void begin_frame()
{
    if (fast.fits_seen != frame_fits_applied()) {
        forget_backdrop();
        fast.fits_seen = frame_fits_applied();
    }
    if (current_path == DrawPath::REFERENCE) {
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    ++savings.frames;
    fast.in_frame = true;
    fast.clear_pending = true;
    fast.first_drawn = false;
    fast.bound_known = false;
    fast.blending = true;
    fast.scissoring = false;
}

// Pays a clear still owed and puts blending and the scissor back as the show's fixed state has them.
void end_frame()
{
    if (!fast.in_frame)
        return;
    set_scissor(nullptr);   // a clear is scissored too
    settle_clear();
    if (!fast.first_drawn)
        fast.had_first = false;
    set_blending(true);
    fast.in_frame = false;
    fast.bound_known = false;
}

// Lists later quads in `into`, or stops listing with null.
void watch_quads(std::vector<PlacedQuad>* into)
{
    watcher = into;
}

// Draws the quad the way the frame is drawn; outside a frame always the reference way.
void draw_placed_quad(const PlacedQuad& quad)
{
    if (watcher)
        watcher->push_back(quad);
    if (current_path == DrawPath::REFERENCE || !fast.in_frame)
        reference_quad(quad);
    else
        fast_quad(quad);
}
