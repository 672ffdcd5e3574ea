#pragma once
// The connection to the X server that the host's windows live on: opening it,
// waiting for what the server sends and handing each event to its window.
#include <memory>
#include <string>
#include <vector>

class X11Window;

class WindowServer {
public:
    // Nothing when the display cannot be opened; "" names $DISPLAY.
    static std::unique_ptr<WindowServer> open(const std::string& name = "");
    ~WindowServer();
    WindowServer(const WindowServer&) = delete;
    WindowServer& operator=(const WindowServer&) = delete;

    // Display* of Xlib, for the platform's own files.
    void* display() const { return display_; }
    // Sleeps until the server sends something or the seconds have passed.
    void waitForEvents(double seconds);
    // Reads every event that has arrived and hands each to the window it is for.
    void dispatchEvents();
    // Waits until the server has handled every request sent so far.
    void sync();
    // The root window of the default screen (the desktop), as an X window id.
    unsigned long rootWindow() const;
    // The pointer's position on the root window; false when the server cannot say.
    bool pointerPosition(int* x, int* y) const;

private:
    friend class X11Window;
    explicit WindowServer(void* display) : display_(display) {}
    void add(X11Window* window) { windows_.push_back(window); }
    void remove(X11Window* window);

    void* display_;
    std::vector<X11Window*> windows_;
};
