#include "screen.h"

#include "profile.h"
#include "settings.h"
#include "user_number.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#ifndef __EMSCRIPTEN__
#include <SDL/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace {

constexpr Uint32 PROFILE_FLAGS = SDL_OPENGL | SDL_FULLSCREEN;   // the show's own mode, as it always was
constexpr Uint32 WINDOW_FLAGS = SDL_OPENGL | SDL_RESIZABLE;    // a window the user may resize
constexpr Uint32 GIVEN_WINDOW_FLAGS = SDL_OPENGL;              // SDL draws into the window it was given
// SDL 2's video drivers that draw where nobody sees: without a display SDL 2 falls back to them,
// where classic SDL found no driver that could draw the show.
constexpr const char* UNSEEN_VIDEO_DRIVERS[] = {"offscreen", "dummy"};
#ifndef __EMSCRIPTEN__
constexpr size_t VIDEO_DRIVER_NAME_SIZE = 64;   // longer than any SDL video driver's name
constexpr size_t KEYMAP_BYTES = 32;             // XQueryKeymap's answer: one bit for each of the 256 key codes
#endif

ScreenRequest request;
ContextMaker context_maker = nullptr;   // null: SDL's video mode makes the context
FrameFit current = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_WIDTH, SCREEN_HEIGHT};
unsigned fits_applied = 0;   // fits made current so far

// Reads "WxH" within the window sizes the show draws at; false for anything else.
bool read_window_size(const std::string& text, int& w, int& h)
{
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    const NumberRead width = read_whole_number(text.substr(0, x), limits::WINDOW_WIDTH);
    const NumberRead height = read_whole_number(text.substr(x + 1), limits::WINDOW_HEIGHT);
    w = static_cast<int>(width.value);
    h = static_cast<int>(height.value);
    return width.reading == Reading::TAKEN && height.reading == Reading::TAKEN;
}

// The X window `text` names as SDL reads it (decimal, or hexadecimal after 0x), or 0 when it names
// none: not such a number, 0, or beyond the 29 bits of an X resource id.
unsigned long window_id_of(const char* text)
{
    constexpr unsigned long LARGEST_X_ID = 0x1fffffff;   // X resource ids have 29 bits
    char* end = nullptr;
    errno = 0;
    const unsigned long id = std::strtoul(text, &end, 0);
    const bool whole = std::isdigit(static_cast<unsigned char>(*text)) && *end == '\0' && errno == 0;
    return whole && id <= LARGEST_X_ID ? id : 0;
}

#ifndef __EMSCRIPTEN__
bool x_error_seen = false;   // set by note_x_error while window_on_display asks the server

// Notes that the X server refused a request, instead of Xlib's default of ending the program.
int note_x_error(Display*, XErrorEvent*)
{
    x_error_seen = true;
    return 0;
}
#endif

// Whether window `id` exists on the X display; true when there is no display to ask (SDL will say so).
bool window_on_display(unsigned long id)
{
#ifndef __EMSCRIPTEN__
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return true;
    x_error_seen = false;
    const auto previous = XSetErrorHandler(note_x_error);
    XWindowAttributes attributes;
    const Status known = XGetWindowAttributes(display, id, &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return known && !x_error_seen;
#else
    (void)id;
    return true;
#endif
}

#ifndef __EMSCRIPTEN__
// SDL's connection to the X server and its window in `info`; false when SDL's window is not on X.
bool x11_window(SDL_SysWMinfo& info)
{
    SDL_VERSION(&info.version);
    return SDL_GetWMInfo(&info) == 1 && info.subsystem == SDL_SYSWM_X11;
}
#endif

// The size of the window SDL was given, as the X server has it; the profile's size if unknown.
void given_window_size(int& w, int& h)
{
    w = SCREEN_WIDTH;
    h = SCREEN_HEIGHT;
#ifndef __EMSCRIPTEN__
    SDL_SysWMinfo info;
    if (!x11_window(info))
        return;
    XWindowAttributes attributes;
    info.info.x11.lock_func();
    const Status known = XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes);
    info.info.x11.unlock_func();
    if (known && attributes.width > 0 && attributes.height > 0) {
        w = attributes.width;
        h = attributes.height;
    }
#endif
}

// Opens the video mode of the request; the drawable's size in w and h.
bool open_video_mode(int& w, int& h)
{
    switch (request.mode) {
    case ScreenMode::WINDOW:
        w = request.w;
        h = request.h;
        return SDL_SetVideoMode(w, h, SCREEN_BPP, WINDOW_FLAGS) != nullptr;
    case ScreenMode::FIT: {
        // Asked before the first mode is set, this is the desktop's own resolution: no mode switch.
        const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
        w = desktop && desktop->current_w > 0 ? desktop->current_w : SCREEN_WIDTH;
        h = desktop && desktop->current_h > 0 ? desktop->current_h : SCREEN_HEIGHT;
        return SDL_SetVideoMode(w, h, SCREEN_BPP, PROFILE_FLAGS) != nullptr;
    }
    case ScreenMode::GIVEN_WINDOW:
        // sdl12-compat's SDL 2 draws OpenGL into a window it is handed only when this hint says
        // the window can take it; classic SDL ignores the hint.
        setenv("SDL_VIDEO_FOREIGN_WINDOW_OPENGL", "1", 1);
        if (!SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, GIVEN_WINDOW_FLAGS))
            return false;
        given_window_size(w, h);
        // sdl12-compat draws a mode of another size than its window off-screen and scales that to
        // the window, which would fit the fitted frame twice: the mode is made the window's size.
        return (w == SCREEN_WIDTH && h == SCREEN_HEIGHT) ||
               SDL_SetVideoMode(w, h, SCREEN_BPP, GIVEN_WINDOW_FLAGS) != nullptr;
    case ScreenMode::PROFILE:
        break;
    }
    w = SCREEN_WIDTH;
    h = SCREEN_HEIGHT;
    return SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, PROFILE_FLAGS) != nullptr;
}

}

// Window id first (whoever made the window wants it used), then a window size, then the desktop's size.
ScreenRequest screen_request(const char* window, const char* fit, const char* window_id,
                             std::vector<std::string>& problems)
{
    ScreenRequest asked;
    if (window_id && *window_id) {
        if (window_id_of(window_id) != 0) {
            asked.mode = ScreenMode::GIVEN_WINDOW;
            return asked;
        }
        problems.push_back(setting_given(Setting::WINDOW_ID, window_id) + " is not a window id: ignoring it");
    }
    if (window && *window) {
        if (read_window_size(window, asked.w, asked.h)) {
            asked.mode = ScreenMode::WINDOW;
            return asked;
        }
        problems.push_back(setting_given(Setting::WINDOW, window) + " is not a window size from " +
                           std::to_string(limits::WINDOW_WIDTH.least) + "x" + std::to_string(limits::WINDOW_HEIGHT.least) +
                           " to " + std::to_string(limits::WINDOW_WIDTH.most) + "x" +
                           std::to_string(limits::WINDOW_HEIGHT.most) + ": using the full screen");
    }
    if (fit && *fit && std::strcmp(fit, "0") != 0) {
        if (std::strcmp(fit, "1") == 0) {
            asked.mode = ScreenMode::FIT;
            return asked;
        }
        problems.push_back(setting_given(Setting::FIT, fit) + " is neither 1 nor 0: using the profile's screen size");
    }
    return asked;
}

// Reads the request, names each problem, and checks a window id against the display: SDL must not
// see an id it cannot use.
void read_screen_settings()
{
    if (context_maker)
        return;
    std::vector<std::string> problems;
    const char* window = setting_value(Setting::WINDOW);
    const char* fit = setting_value(Setting::FIT);
    const char* window_id = setting_value(Setting::WINDOW_ID);
    request = screen_request(window, fit, window_id, problems);
    if (request.mode == ScreenMode::GIVEN_WINDOW && !window_on_display(window_id_of(window_id))) {
        problems.push_back(setting_given(Setting::WINDOW_ID, window_id) + " is no window on the display: ignoring it");
        request = screen_request(window, fit, nullptr, problems);
    }
    for (const std::string& problem : problems)
        std::cerr << problem << std::endl;
    if (request.mode != ScreenMode::GIVEN_WINDOW)
        unsetenv(setting_name(Setting::WINDOW_ID));   // SDL would otherwise try to draw into it
}

// The largest frame of the profile's aspect inside w x h, rounded to whole pixels, centred.
FrameFit fit_frame(int w, int h)
{
    FrameFit fit;
    fit.drawable_w = std::max(w, 1);
    fit.drawable_h = std::max(h, 1);
    const long wide = long(fit.drawable_w) * SCREEN_HEIGHT;   // compared without rounding
    const long tall = long(fit.drawable_h) * SCREEN_WIDTH;
    if (wide <= tall) {
        fit.w = fit.drawable_w;
        fit.h = static_cast<int>((wide * 2 + SCREEN_WIDTH) / (2L * SCREEN_WIDTH));
    } else {
        fit.h = fit.drawable_h;
        fit.w = static_cast<int>((tall * 2 + SCREEN_HEIGHT) / (2L * SCREEN_HEIGHT));
    }
    fit.w = std::max(fit.w, 1);
    fit.h = std::max(fit.h, 1);
    fit.x = (fit.drawable_w - fit.w) / 2;
    fit.y = (fit.drawable_h - fit.h) / 2;
    return fit;
}

// Remembers who makes the context.
void make_context_with(ContextMaker maker)
{
    context_maker = maker;
}

// SDL's video stays down when it does not make the context: it would want a display.
Uint32 sdl_subsystems()
{
    return context_maker ? SDL_INIT_EVERYTHING & ~SDL_INIT_VIDEO : SDL_INIT_EVERYTHING;
}

// Whether SDL's video makes the context.
bool screen_is_sdl()
{
    return !context_maker;
}

// The show's own window: SDL made it, at the show's asking.
bool screen_owns_window()
{
    return screen_is_sdl() && request.mode != ScreenMode::GIVEN_WINDOW;
}

// A driver the user names is taken as wanted, even one that shows nothing.
bool video_driver_unseen(const char* driver, const char* chosen)
{
    if (!driver || (chosen && *chosen))
        return false;
    for (const char* unseen : UNSEEN_VIDEO_DRIVERS)
        if (std::strcmp(driver, unseen) == 0)
            return true;
    return false;
}

// Asks the X server, which knows even the keys pressed before the show's window took the keyboard.
bool escape_held_on_display()
{
#ifndef __EMSCRIPTEN__
    SDL_SysWMinfo info;
    if (!screen_is_sdl() || !x11_window(info))
        return false;
    char keys[KEYMAP_BYTES] = {};
    info.info.x11.lock_func();
    const KeyCode escape = XKeysymToKeycode(info.info.x11.display, XK_Escape);
    XQueryKeymap(info.info.x11.display, keys);
    info.info.x11.unlock_func();
    return escape != 0 && (keys[escape / 8] & (1 << (escape % 8))) != 0;
#else
    return false;
#endif
}

// Opens the mode of the settings read and fits the frame into it; a context made elsewhere draws
// the profile's size exactly.
bool open_screen()
{
    if (context_maker)
        return context_maker(SCREEN_WIDTH, SCREEN_HEIGHT);
#ifndef __EMSCRIPTEN__
    // A show nobody sees could run for ever: without a display it ends as with classic SDL.
    char driver[VIDEO_DRIVER_NAME_SIZE] = "";
    if (video_driver_unseen(SDL_VideoDriverName(driver, sizeof driver), std::getenv("SDL_VIDEODRIVER"))) {
        SDL_SetError("no display: SDL found only its %s video driver, which shows nothing "
                     "(SDL_VIDEODRIVER=%s runs the show there all the same)",
                     driver, driver);
        return false;
    }
#endif
    int w = 0, h = 0;
    if (!open_video_mode(w, h))
        return false;
    if (request.mode != ScreenMode::PROFILE)
        apply_frame_fit(fit_frame(w, h));
    return true;
}

// A window's new size: the same mode at that size, the frame refitted.
ScreenResized resize_screen(int w, int h)
{
    if (request.mode != ScreenMode::WINDOW && request.mode != ScreenMode::GIVEN_WINDOW)
        return ScreenResized::SAME_CONTEXT;
    const Uint32 flags = request.mode == ScreenMode::WINDOW ? WINDOW_FLAGS : GIVEN_WINDOW_FLAGS;
    const FrameFit fit = fit_frame(w, h);
    if (!SDL_SetVideoMode(fit.drawable_w, fit.drawable_h, SCREEN_BPP, flags))
        return ScreenResized::FAILED;
    // The show's context always has blending on: a fresh one means SDL made a new context, whose
    // textures are gone (sdl12-compat may; classic SDL on X keeps it).
    const bool fresh = !glIsEnabled(GL_BLEND);
    apply_frame_fit(fit);
    return fresh ? ScreenResized::NEW_CONTEXT : ScreenResized::SAME_CONTEXT;
}

// Asks the X server the handed window's size now and then.
bool given_window_resized(int& w, int& h)
{
    constexpr Uint32 LOOK_INTERVAL = 250;   // ms between looks: a resize is followed within a quarter second,
                                            // and the X server is asked four times a second, not every pass
    static Uint32 last_look = 0;
    if (request.mode != ScreenMode::GIVEN_WINDOW || SDL_GetTicks() - last_look < LOOK_INTERVAL)
        return false;
    last_look = SDL_GetTicks();
    given_window_size(w, h);
    return w != current.drawable_w || h != current.drawable_h;
}

// Where the frame lands now.
const FrameFit& frame_fit()
{
    return current;
}

// Records the fit and points the viewport at it; the fast path sees the new fit at its next frame.
void apply_frame_fit(const FrameFit& fit)
{
    current = fit;
    ++fits_applied;
    glViewport(fit.x, fit.y, fit.w, fit.h);
}

unsigned frame_fits_applied()
{
    return fits_applied;
}

// Whether the viewport is the whole drawable at the profile's size.
bool frame_fills_drawable()
{
    return current.x == 0 && current.y == 0 && current.w == SCREEN_WIDTH && current.h == SCREEN_HEIGHT &&
           current.drawable_w == SCREEN_WIDTH && current.drawable_h == SCREEN_HEIGHT;
}
