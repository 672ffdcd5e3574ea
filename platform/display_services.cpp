#include "platform/display_services.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <vector>

#include "platform/display_services_x11.h"

namespace {

Display* gConnection = nullptr;
std::vector<ActiveDisplay> gDisplays;

bool gTrappedError = false;

int TrapError(Display*, XErrorEvent*) {
    gTrappedError = true;
    return 0;
}

bool HasMonitorList(Display* dpy) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(dpy, &eventBase, &errorBase)) return false;
    if (!XRRQueryVersion(dpy, &major, &minor)) return false;
    return major > 1 || (major == 1 && minor >= 5);
}

// The bits each pixel takes in memory at the screen's depth (32 for depth 24).
bool BitsPerPixelOfScreen(Display* dpy, int screen, double* bits) {
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(dpy, &count);
    if (!formats) return false;
    const int depth = DefaultDepth(dpy, screen);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
        if (formats[i].depth == depth) {
            *bits = formats[i].bits_per_pixel;
            found = true;
        }
    }
    XFree(formats);
    return found;
}

// A server without a monitor list: the whole screen is one display, named by its root window.
ActiveDisplay WholeScreen(Display* dpy, int screen) {
    ActiveDisplay display;
    display.id = static_cast<DisplayID>(RootWindow(dpy, screen));
    display.screen = screen;
    display.bounds = {0, 0, static_cast<double>(DisplayWidth(dpy, screen)),
                      static_cast<double>(DisplayHeight(dpy, screen))};
    double bits = 0;
    if (BitsPerPixelOfScreen(dpy, screen, &bits)) display.mode["BitsPerPixel"] = bits;
    return display;
}

// The vertical refresh of the mode driving an output, as the mode timings give it.
// A mode without timings (a virtual server's) has no refresh rate.
bool RefreshRateOfOutput(Display* dpy, XRRScreenResources* resources, RROutput output, double* rate) {
    if (!resources || output == None) return false;
    XRROutputInfo* outputInfo = XRRGetOutputInfo(dpy, resources, output);
    if (!outputInfo) return false;
    RRCrtc crtc = outputInfo->crtc;
    XRRFreeOutputInfo(outputInfo);
    if (crtc == None) return false;
    XRRCrtcInfo* crtcInfo = XRRGetCrtcInfo(dpy, resources, crtc);
    if (!crtcInfo) return false;
    RRMode mode = crtcInfo->mode;
    XRRFreeCrtcInfo(crtcInfo);
    for (int i = 0; i < resources->nmode; ++i) {
        const XRRModeInfo& info = resources->modes[i];
        if (info.id != mode) continue;
        double lines = info.vTotal;
        if (info.modeFlags & RR_DoubleScan) lines *= 2;
        if (info.modeFlags & RR_Interlace) lines /= 2;
        if (info.dotClock == 0 || info.hTotal == 0 || lines == 0) return false;
        *rate = static_cast<double>(info.dotClock) / (info.hTotal * lines);
        return true;
    }
    return false;
}

void AddScreenMonitors(Display* dpy, int screen, std::vector<ActiveDisplay>& out) {
    const Window root = RootWindow(dpy, screen);
    double bits = 0;
    const bool haveBits = BitsPerPixelOfScreen(dpy, screen, &bits);

    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(dpy, root, True, &count);
    if (!monitors || count <= 0) {
        if (monitors) XRRFreeMonitors(monitors);
        out.push_back(WholeScreen(dpy, screen));
        return;
    }
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(dpy, root);
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& monitor = monitors[i];
        ActiveDisplay display;
        // The monitor's name atom: stable while the monitor exists, even when it moves.
        display.id = static_cast<DisplayID>(monitor.name);
        display.screen = screen;
        display.bounds = {static_cast<double>(monitor.x), static_cast<double>(monitor.y),
                          static_cast<double>(monitor.width), static_cast<double>(monitor.height)};
        if (haveBits) display.mode["BitsPerPixel"] = bits;
        display.output = monitor.noutput > 0 ? monitor.outputs[0] : 0;
        double rate = 0;
        if (RefreshRateOfOutput(dpy, resources, display.output, &rate)) display.mode["RefreshRate"] = rate;
        out.push_back(display);
    }
    if (resources) XRRFreeScreenResources(resources);
    XRRFreeMonitors(monitors);
}

const ActiveDisplay* FindDisplay(DisplayID id) {
    for (const ActiveDisplay& display : gDisplays)
        if (display.id == id) return &display;
    return nullptr;
}

}  // namespace

XErrorTrap::XErrorTrap(Display* display) : display_(display) {
    if (display_) XSync(display_, False);
    gTrappedError = false;
    previous_ = XSetErrorHandler(TrapError);
}

XErrorTrap::~XErrorTrap() {
    if (display_) XSync(display_, False);
    XSetErrorHandler(previous_);
}

bool XErrorTrap::failed() {
    if (display_) XSync(display_, False);
    return gTrappedError;
}

bool OpenDisplayServices(const char* displayName) {
    CloseDisplayServices();
    gConnection = XOpenDisplay(displayName);
    return gConnection != nullptr;
}

void CloseDisplayServices() {
    gDisplays.clear();
    if (gConnection) XCloseDisplay(gConnection);
    gConnection = nullptr;
}

Display* DisplayServicesConnection() { return gConnection; }

const std::vector<ActiveDisplay>& ActiveDisplays() { return gDisplays; }

const ActiveDisplay* ActiveDisplayForMask(uint32_t displayMask) {
    for (size_t i = 0; i < gDisplays.size() && i < 32; ++i)
        if (displayMask & (1u << i)) return &gDisplays[i];
    return nullptr;
}

int GetActiveDisplayList(uint32_t max, DisplayID* list, uint32_t* count) {
    if (count) *count = 0;
    gDisplays.clear();
    // Headless: no server, so no displays; that is not an error.
    if (!gConnection && !OpenDisplayServices(nullptr)) return 0;

    std::vector<ActiveDisplay> displays;
    {
        XErrorTrap trap(gConnection);
        const bool monitorList = HasMonitorList(gConnection);
        for (int screen = 0; screen < ScreenCount(gConnection); ++screen) {
            if (monitorList)
                AddScreenMonitors(gConnection, screen, displays);
            else
                displays.push_back(WholeScreen(gConnection, screen));
        }
        if (trap.failed()) return 1;
    }
    if (displays.size() > max) displays.resize(max);
    gDisplays = std::move(displays);
    if (list)
        for (size_t i = 0; i < gDisplays.size(); ++i) list[i] = gDisplays[i].id;
    if (count) *count = static_cast<uint32_t>(gDisplays.size());
    return 0;
}

uint32_t DisplayIDToOpenGLDisplayMask(DisplayID display) {
    for (size_t i = 0; i < gDisplays.size() && i < 32; ++i)
        if (gDisplays[i].id == display) return 1u << i;
    return 0;
}

DisplayBounds GetDisplayBounds(DisplayID display) {
    const ActiveDisplay* found = FindDisplay(display);
    return found ? found->bounds : DisplayBounds{};
}

const DisplayMode* GetDisplayCurrentMode(DisplayID display) {
    const ActiveDisplay* found = FindDisplay(display);
    return found ? &found->mode : nullptr;
}
