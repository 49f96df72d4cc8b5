#include "glsupport.h"

#include "gfx.h"
#include "testsupport.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

void open_show_window()
{
    static bool opened = false;
    if (opened)
        return;
    TraceSilencer quiet;
    if (!init_sdl()) {
        std::fprintf(stderr, "cannot open the show's window: %s\n", SDL_GetError());
        std::abort();
    }
    opened = true;
}

Pixel read_pixel(int x, int y)
{
    Pixel p;
    glReadBuffer(GL_BACK);
    glReadPixels(x, SCREEN_HEIGHT - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
    return p;
}

void clear_frame()
{
    glClear(GL_COLOR_BUFFER_BIT);
}

bool save_frame(const char* path)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string ppm = std::string(path) + ".ppm";
    FILE* out = std::fopen(ppm.c_str(), "wb");
    if (!out)
        return false;
    std::fprintf(out, "P6\n%d %d\n255\n", SCREEN_WIDTH, SCREEN_HEIGHT);
    for (int row = SCREEN_HEIGHT - 1; row >= 0; --row)   // OpenGL's rows run bottom to top
        std::fwrite(&rgb[static_cast<size_t>(row) * SCREEN_WIDTH * 3], 1, SCREEN_WIDTH * 3, out);
    std::fclose(out);
    const std::string convert = "convert " + ppm + " " + path + " && rm -f " + ppm;
    return std::system(convert.c_str()) == 0;
}
