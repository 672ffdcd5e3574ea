#include "platform/screens.h"

#include "platform/xlib.h"

#include <algorithm>

#include "platform/display_services.h"
#include "platform/display_services_x11.h"

namespace {

bool HasMonitorList(Display* dpy) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(dpy, &eventBase, &errorBase)) return false;
    if (!XRRQueryVersion(dpy, &major, &minor)) return false;
    return major > 1 || (major == 1 && minor >= 5);
}

// A server without monitors: its default screen is one screen, numbered by its
// root window as the display services number it.
DisplayScreen WholeScreen(Display* dpy) {
    const int screen = DefaultScreen(dpy);
    DisplayScreen whole;
    whole.number = static_cast<int32_t>(RootWindow(dpy, screen));
    whole.name = "screen";
    whole.frame = {0, 0, static_cast<float>(DisplayWidth(dpy, screen)), static_cast<float>(DisplayHeight(dpy, screen))};
    whole.primary = true;
    return whole;
}

float Overlap(const Rect& a, const Rect& b) {
    const float w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const float h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0.0f;
}

}  // namespace

std::vector<DisplayScreen> Screens() {
    // The display services' connection: tests close it before their private server goes.
    Display* dpy = DisplayServicesConnection();
    if (!dpy && OpenDisplayServices(nullptr)) dpy = DisplayServicesConnection();
    if (!dpy) return {};

    std::vector<DisplayScreen> screens;
    XErrorTrap trap(dpy);
    int count = 0;
    XRRMonitorInfo* monitors =
        HasMonitorList(dpy) ? XRRGetMonitors(dpy, DefaultRootWindow(dpy), True, &count) : nullptr;
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& monitor = monitors[i];
        DisplayScreen screen;
        // The name atom: non-zero, and the same for as long as the monitor exists,
        // which is also how the capability survey numbers its displays.
        screen.number = static_cast<int32_t>(monitor.name);
        if (char* name = XGetAtomName(dpy, monitor.name)) {
            screen.name = name;
            XFree(name);
        }
        screen.frame = {static_cast<float>(monitor.x), static_cast<float>(monitor.y), static_cast<float>(monitor.width),
                        static_cast<float>(monitor.height)};
        screen.primary = monitor.primary != 0;
        screens.push_back(screen);
    }
    if (monitors) XRRFreeMonitors(monitors);
    if (trap.failed()) screens.clear();
    if (screens.empty()) screens.push_back(WholeScreen(dpy));
    return screens;
}

std::optional<DisplayScreen> MainScreen() {
    const std::vector<DisplayScreen> screens = Screens();
    if (screens.empty()) return std::nullopt;
    for (const DisplayScreen& screen : screens)
        if (screen.primary) return screen;
    // No primary monitor: the one at the origin stands in, as the top-left
    // monitor is where a desktop starts.
    for (const DisplayScreen& screen : screens)
        if (screen.frame.x == 0 && screen.frame.y == 0) return screen;
    return screens.front();
}

std::optional<DisplayScreen> ScreenHolding(const Rect& area) {
    std::optional<DisplayScreen> best;
    float bestOverlap = 0;
    for (const DisplayScreen& screen : Screens()) {
        const float overlap = Overlap(area, screen.frame);
        // Ties go to the one listed first.
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = screen;
        }
    }
    return best;
}
