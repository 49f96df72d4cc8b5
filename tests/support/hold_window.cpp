// hold-window WxH TITLE: opens a plain X window of that size and title, with no child windows and
// no wishes about its size, and keeps it until killed: a window to hand to the show, as
// XScreenSaver hands its own, which the test may resize as XScreenSaver's preview pane does.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    unsigned w = 0, h = 0;
    if (argc != 3 || std::sscanf(argv[1], "%ux%u", &w, &h) != 2 || w == 0 || h == 0) {
        std::fprintf(stderr, "usage: hold-window WxH TITLE\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "hold-window: cannot open the X display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, w, h, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, argv[2]);
    XMapWindow(display, window);
    XSync(display, False);
    for (;;)
        pause();   // the test ends it with a signal
}
