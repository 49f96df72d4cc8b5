#include "frame_grab.h"

#include "rgb_frame.h"

#include <GL/gl.h>

void read_back_buffer(int width, int height, std::vector<uint8_t>& rgb)
{
    const size_t row_bytes = static_cast<size_t>(width) * RGB_BYTES;
    rgb.resize(row_bytes * height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);   // rows packed tight, whatever the width
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    flip_rows(rgb, row_bytes);   // OpenGL's rows run bottom to top
}
