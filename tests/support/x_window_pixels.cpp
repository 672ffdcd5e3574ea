#include "tests/support/x_window_pixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

bool CountWindowColours(void* display, unsigned long window, WindowColours* colours) {
    Display* dpy = static_cast<Display*>(display);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(dpy, window, &attributes)) return false;
    XImage* image = XGetImage(dpy, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return false;
    *colours = {};
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            ++colours->total;
            if (r < 16 && g < 16 && b < 16)
                ++colours->background;
            else if (g >= 60 && g > 2 * r && 2 * g > 3 * b)
                ++colours->code;
        }
    XDestroyImage(image);
    return true;
}

unsigned long FindWindowNamed(void* display, const std::string& name) {
    Display* dpy = static_cast<Display*>(display);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count)) return 0;
    unsigned long found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* title = nullptr;
        if (XFetchName(dpy, children[i], &title) && title) {
            if (name == title) found = children[i];
            XFree(title);
        }
    }
    if (children) XFree(children);
    return found;
}
