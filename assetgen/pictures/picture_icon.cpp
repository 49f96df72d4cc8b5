// The program's icon for desktop menus: the walking sock on a round patch of night sky, written
// in the sizes of the freedesktop icon theme's folders.
#include "assets.h"
#include "picture_canvas.h"
#include "picture_sprites.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr int ICON_SIZES[] = {48, 128, 192, 256, 512};   // a menu entry, a launcher grid, a phone's home
                                                     // screen, a large view, an installed web page's splash
constexpr double DISC_MARGIN = 0.04;   // of the icon's size: keeps the disc's rim off the edge
constexpr double SOCK_HEIGHT = 0.74;   // of the icon's size: large enough to read at 48 px
constexpr double SOCK_ASPECT = 192.0 / 256.0;   // the sock sprite's own width over its height
constexpr double RIM_WIDTH = 0.035;    // of the icon's size: the ink rim round the disc

// Paints the icon on a square canvas of `size` pixels.
void paint_icon(cairo_t* cr, int size)
{
    const double middle = size / 2.0;
    add_ellipse(cr, middle, middle, middle * (1 - 2 * DISC_MARGIN), middle * (1 - 2 * DISC_MARGIN));
    fill_outlined(cr, palette::NIGHT, size * RIM_WIDTH);
    paint_sparkle(cr, size * 0.26, size * 0.28, size * 0.08, 4, palette::STAR);
    const double sock_h = size * SOCK_HEIGHT;
    const double sock_w = sock_h * SOCK_ASPECT;
    cairo_save(cr);
    cairo_translate(cr, middle - sock_w / 2, middle - sock_h / 2);
    paint_sock(cr, static_cast<int>(sock_w), static_cast<int>(sock_h), SockFace::SMILE);
    cairo_restore(cr);
}

// Makes `path` a folder if it is not one yet; false with a message if that fails.
bool make_folder(const std::string& path)
{
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST)
        return true;
    std::perror(path.c_str());
    return false;
}

}  // namespace

bool write_icons(const std::string& outdir)
{
    for (int size : ICON_SIZES) {
        const std::string theme_size = std::to_string(size) + "x" + std::to_string(size);
        const std::string folder = outdir + "/" + theme_size;
        if (!make_folder(outdir) || !make_folder(folder) || !make_folder(folder + "/apps"))
            return false;
        Canvas canvas(size, size);
        paint_icon(canvas.cr(), size);
        if (!canvas.save(folder + "/apps/quoravint.png"))
            return false;
    }
    return true;
}
