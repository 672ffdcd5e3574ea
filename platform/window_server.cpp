#include "platform/window_server.h"

#include "platform/xlib.h"

#include <sys/select.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "platform/log.h"
#include "platform/x11_window_state.h"

namespace {

std::vector<X11Window::State*> gWatched;
int gOtherErrors = 0;

int OnXError(Display* dpy, XErrorEvent* event) {
    for (X11Window::State* state : gWatched) {
        if (state->dpy != dpy || event->resourceid != state->window) continue;
        // The window went away under us (another client destroyed it); its
        // DestroyNotify may still be on its way.
        if (event->error_code == BadWindow || event->error_code == BadDrawable || event->error_code >= 128) {
            state->lost = true;
            return 0;
        }
    }
    if (gOtherErrors++ < 5) {
        char text[256] = "";
        XGetErrorText(dpy, event->error_code, text, sizeof text);
        NSLog("X error: %s (request %d.%d)", text, event->request_code, event->minor_code);
    }
    return 0;
}

int OnIOError(Display*) {
    NSLog("lost the connection to the X display");
    std::fflush(stderr);
    _exit(1);
}

}  // namespace

void WatchWindowErrors(X11Window::State* state) { gWatched.push_back(state); }

void UnwatchWindowErrors(X11Window::State* state) {
    gWatched.erase(std::remove(gWatched.begin(), gWatched.end(), state), gWatched.end());
}

std::unique_ptr<WindowServer> WindowServer::open(const std::string& name) {
    Display* dpy = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (!dpy) return nullptr;
    // Xlib's defaults end the process on any error; a host must outlive a window that vanishes.
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnIOError);
    return std::unique_ptr<WindowServer>(new WindowServer(dpy));
}

WindowServer::~WindowServer() {
    if (glXGetCurrentContext()) glXMakeCurrent(static_cast<Display*>(display_), None, nullptr);
    XCloseDisplay(static_cast<Display*>(display_));
}

void WindowServer::remove(X11Window* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

void WindowServer::waitForEvents(double seconds) {
    Display* dpy = static_cast<Display*>(display_);
    XFlush(dpy);
    if (XPending(dpy) || seconds <= 0) return;
    const int fd = ConnectionNumber(dpy);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    timeval timeout{};
    timeout.tv_sec = static_cast<time_t>(seconds);
    timeout.tv_usec = static_cast<suseconds_t>((seconds - static_cast<double>(timeout.tv_sec)) * 1e6);
    select(fd + 1, &readable, nullptr, nullptr, &timeout);
}

void WindowServer::dispatchEvents() {
    Display* dpy = static_cast<Display*>(display_);
    while (XPending(dpy)) {
        XEvent event;
        XNextEvent(dpy, &event);
        for (X11Window* window : windows_)
            if (window->state_->window == event.xany.window) window->handle(&event);
    }
}

void WindowServer::sync() { XSync(static_cast<Display*>(display_), False); }

unsigned long WindowServer::rootWindow() const { return DefaultRootWindow(static_cast<Display*>(display_)); }

bool WindowServer::pointerPosition(int* x, int* y) const {
    Display* dpy = static_cast<Display*>(display_);
    Window root = 0, child = 0;
    int windowX = 0, windowY = 0;
    unsigned mask = 0;
    return XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, x, y, &windowX, &windowY, &mask);
}

