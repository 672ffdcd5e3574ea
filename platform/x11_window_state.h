#pragma once
// Inside the platform layer only: the Xlib side of an X11Window, shared by the
// window and the contexts that draw into it.
#include "platform/xlib.h"

#include "platform/x11_window.h"

struct X11Window::State {
    Display* dpy = nullptr;
    Window window = 0;
    Window root = 0;
    Colormap colormap = 0;    // ours to free; 0 for another client's window
    Cursor blankCursor = 0;   // ours to free
    XVisualInfo visual{};
    bool foreign = false;
    bool lost = false;        // destroyed by another client
    int width = 0, height = 0;
};

// Marks the state of a window the server refused as gone (the error handler's
// bookkeeping); the window's own events report it to the host.
void WatchWindowErrors(X11Window::State* state);
void UnwatchWindowErrors(X11Window::State* state);
