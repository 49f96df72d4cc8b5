#include "offscreen_gl.h"

#include <SDL/SDL.h>
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "settings.h"
#include "user_number.h"

namespace {

constexpr EGLint MAX_DEVICES = limits::EGL_DEVICE.most + 1;
constexpr EGLint MAX_CONFIGS = 256;  // more framebuffer configurations than Mesa offers
constexpr EGLint WINDOW_DEPTH_BITS = 32;   // the depth buffer Mesa gives the show's window on X

// The first configuration of the list with 8-bit colour channels and no alpha channel; the first of
// all when none lacks alpha.
EGLConfig without_alpha(EGLDisplay display, const EGLConfig* configs, EGLint count)
{
    for (EGLint i = 0; i < count; ++i) {
        EGLint red = 0, alpha = 0;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &red);
        eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alpha);
        if (red == 8 && alpha == 0)
            return configs[i];
    }
    return configs[0];
}

// The EGL display of device number `index`, or EGL_NO_DISPLAY with the reason in `problem`.
EGLDisplay device_display(PFNEGLGETPLATFORMDISPLAYEXTPROC get_display, long index, std::string& problem)
{
    auto query_devices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    EGLDeviceEXT devices[MAX_DEVICES];
    EGLint count = 0;
    if (!query_devices || !query_devices(MAX_DEVICES, devices, &count)) {
        problem = "EGL cannot list its devices (EGL_EXT_device_enumeration)";
        return EGL_NO_DISPLAY;
    }
    if (index >= count) {
        problem = "there is no EGL device " + std::to_string(index) + " (EGL lists " + std::to_string(count) + ")";
        return EGL_NO_DISPLAY;
    }
    return get_display(EGL_PLATFORM_DEVICE_EXT, devices[index], nullptr);
}

// The EGL display to draw on: the device asked for, else Mesa's surfaceless platform.
EGLDisplay offscreen_display(const char* device, std::string& problem)
{
    auto get_display =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_display) {
        problem = "EGL has no eglGetPlatformDisplayEXT (EGL_EXT_platform_base)";
        return EGL_NO_DISPLAY;
    }
    if (device && *device) {
        const NumberRead index = read_whole_number(device, limits::EGL_DEVICE);
        if (index.usable())
            return device_display(get_display, static_cast<long>(index.value), problem);
        if (index.reading == Reading::TOO_LARGE)
            problem = std::string("there is no EGL device ") + device + " (" + setting_name(Setting::EGL_DEVICE) + " is " +
                      range_text(limits::EGL_DEVICE) + ")";
        else
            problem = setting_given(Setting::EGL_DEVICE, device) + " is not an EGL device number " +
                      range_text(limits::EGL_DEVICE);
        return EGL_NO_DISPLAY;
    }
    problem = "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)";
    return get_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}

bool wants_offscreen(bool asked, const char* display)
{
    return asked || !display || !*display;
}

bool make_offscreen_context(int w, int h, const char* device, std::string& problem)
{
    const EGLDisplay display = offscreen_display(device, problem);
    if (display == EGL_NO_DISPLAY)
        return false;
    problem = "EGL cannot be initialised on that platform";
    if (!eglInitialize(display, nullptr, nullptr) || !eglBindAPI(EGL_OPENGL_API))
        return false;
    // Eight bits a colour channel, no alpha and a 32-bit depth buffer, as the show's window on a
    // 24-bit X screen has: Mesa's software rasteriser draws a little differently (one colour step
    // in a few pixels a frame) into a framebuffer with alpha or without a depth buffer, although
    // the show uses neither.
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                             EGL_DEPTH_SIZE, WINDOW_DEPTH_BITS, EGL_NONE};
    EGLConfig configs[MAX_CONFIGS];
    EGLint count = 0;
    problem = "EGL offers no 8-bit RGB pbuffer with a depth buffer for desktop OpenGL";
    if (!eglChooseConfig(display, wanted, configs, MAX_CONFIGS, &count) || count < 1)
        return false;
    const EGLConfig config = without_alpha(display, configs, count);
    const EGLint size[] = {EGL_WIDTH, w, EGL_HEIGHT, h, EGL_NONE};
    const EGLSurface surface = eglCreatePbufferSurface(display, config, size);
    problem = "EGL cannot make a " + std::to_string(w) + " x " + std::to_string(h) + " pbuffer";
    if (surface == EGL_NO_SURFACE)
        return false;
    // No version asked: a compatibility context, with the immediate mode the show draws in.
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    problem = "EGL cannot make a desktop OpenGL context";
    if (context == EGL_NO_CONTEXT || !eglMakeCurrent(display, surface, surface, context))
        return false;
    problem.clear();
    return true;
}

bool make_show_context_offscreen(int w, int h)
{
    std::string problem;
    if (make_offscreen_context(w, h, setting_value(Setting::EGL_DEVICE), problem))
        return true;
    SDL_SetError("no off-screen OpenGL context: %s", problem.c_str());
    return false;
}
