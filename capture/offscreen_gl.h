// An OpenGL context without any screen: Mesa's EGL on its surfaceless platform (or, when asked, on
// one EGL device, e.g. a GPU), drawing into a pbuffer. No X server is needed.
#ifndef OFFSCREEN_GL_H
#define OFFSCREEN_GL_H

#include <string>

// Whether the capture should draw off-screen: asked with --offscreen, or there is no X display to
// open a window on (DISPLAY unset or empty).
bool wants_offscreen(bool asked, const char* display);

// Makes a desktop OpenGL (compatibility) context current, drawing into a w x h pbuffer. The platform
// is Mesa's surfaceless one, or EGL device number `device` (QUORAVINT_EGL_DEVICE) when that is a
// number; false with the reason in `problem` when EGL offers no such context.
bool make_offscreen_context(int w, int h, const char* device, std::string& problem);

// make_offscreen_context for the show's start-up (a ContextMaker): the device from QUORAVINT_EGL_DEVICE,
// a failure's reason left in SDL_GetError.
bool make_show_context_offscreen(int w, int h);

#endif
