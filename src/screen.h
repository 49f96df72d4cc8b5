// Where the show's frame goes and how it is fitted there. By default the profile's own full-screen
// mode, the frame filling it pixel for pixel. QUORAVINT_WINDOW=WxH asks for a resizable window,
// QUORAVINT_FIT=1 for the whole desktop at its current resolution, and SDL_WINDOWID (a window someone
// else made, e.g. a screensaver's) for that window: in all three the frame is scaled to the drawable
// with its aspect kept, centred between black bars.
#ifndef SCREEN_H
#define SCREEN_H

#include <SDL/SDL.h>
#include <string>
#include <vector>

// Where the frame lands in the drawable: the viewport, in OpenGL's window pixels (y up from the
// bottom), and the drawable's own size.
struct FrameFit {
    int x = 0, y = 0, w = 0, h = 0;
    int drawable_w = 0, drawable_h = 0;
};

// What the settings ask the screen to be.
enum class ScreenMode { PROFILE, WINDOW, FIT, GIVEN_WINDOW };

struct ScreenRequest {
    ScreenMode mode = ScreenMode::PROFILE;
    int w = 0, h = 0;   // the window's size in WINDOW mode
};

// The request made by the values of QUORAVINT_WINDOW, QUORAVINT_FIT and SDL_WINDOWID (each may be
// null). Each value that makes no sense is described, one line each, in `problems` and ignored.
ScreenRequest screen_request(const char* window, const char* fit, const char* window_id,
                             std::vector<std::string>& problems);

// Reads the screen's settings from the environment, before SDL starts: a bad one is named on standard
// error and ignored, and an SDL_WINDOWID that is not a window on the display is taken away from SDL,
// which would read it while starting and end the program on the X error.
void read_screen_settings();

// The frame of the profile's size scaled into a drawable of w x h pixels, aspect kept, centred.
FrameFit fit_frame(int w, int h);

// Makes an OpenGL context current that draws w x h pixels, without SDL's video; false if it cannot.
using ContextMaker = bool (*)(int w, int h);

// Has open_screen make the context with `maker` instead of an SDL video mode (a capture without a
// screen); SDL then starts without its video. Null: SDL's video mode again.
void make_context_with(ContextMaker maker);

// The SDL subsystems the show starts: every one, or every one but video when the context is made elsewhere.
Uint32 sdl_subsystems();

// Whether the frame is shown in an SDL window (and so presented by swapping its buffers).
bool screen_is_sdl();

// Whether the show's window is its own to name: not one it was handed (a screensaver's, or the
// root window, whose name would outlive the show), nor a context made without SDL's video.
bool screen_owns_window();

// Whether SDL's video driver `driver` (null if none) shows nothing, a fallback SDL took without a
// display, rather than one the user chose in SDL_VIDEODRIVER (`chosen`, null when unset).
bool video_driver_unseen(const char* driver, const char* chosen);

// Whether the Escape key is held down now; false where the show's window is not on an X server.
bool escape_held_on_display();

// Opens the video mode read_screen_settings found (the profile's when it was not called) and fits
// the frame to it; false when SDL cannot open it, or when SDL found no display and would draw unseen.
bool open_screen();

// What taking a new drawable size did.
enum class ScreenResized {
    FAILED,        // SDL could not set the new mode
    SAME_CONTEXT,  // the frame is refitted; OpenGL kept its state and textures
    NEW_CONTEXT,   // the frame is refitted in a new OpenGL context, whose state and textures are gone
};

// Takes a new drawable size (a resized window): the video mode follows it and the frame is refitted.
ScreenResized resize_screen(int w, int h);

// Whether the window the show was handed has changed size (its owner resized it, as XScreenSaver's
// preview pane does: no event tells the show), and its size w x h then; looks a few times a second at most.
bool given_window_resized(int& w, int& h);

// Where the frame lands now; the profile's own size until a screen is opened.
const FrameFit& frame_fit();

// Makes `fit` the current one and points OpenGL's viewport at it.
void apply_frame_fit(const FrameFit& fit);

// How many fits apply_frame_fit has made current: what the drawing kept for the frame's old place
// is stale once this changes.
unsigned frame_fits_applied();

// Whether the frame fills the drawable exactly, pixel for pixel.
bool frame_fills_drawable();

#endif
