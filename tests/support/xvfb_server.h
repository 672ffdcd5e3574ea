#pragma once
// A private Xvfb server for tests that need their own X display: its own
// screen size and RandR monitors, which the tests may add, move and remove.
// The server is started on a free display number and killed on destruction
// (or when the test process dies).
#include <string>
#include <sys/types.h>

struct XvfbMonitor {
    std::string name;
    int x = 0, y = 0, width = 0, height = 0;
    bool primary = false;
    // Give the monitor the server's one output ("screen"). While no monitor
    // holds it, the server adds an automatic monitor over the whole screen.
    bool holdsOutput = false;
};

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts `Xvfb :N -screen 0 WxHxD -noreset` and waits until it accepts
    // connections. False, with error(), when it does not come up in 10 s.
    bool start(int width, int height, int depth = 24);
    void stop();

    // ":N", to hand to XOpenDisplay or put in DISPLAY.
    const std::string& name() const { return name_; }
    const std::string& error() const { return error_; }

    // Adds the monitor, or changes the one of the same name.
    bool setMonitor(const XvfbMonitor& monitor);
    bool deleteMonitor(const std::string& name);
    // The monitors the server lists now (the primary first).
    int monitorCount();

private:
    bool fail(const std::string& why);

    pid_t pid_ = -1;
    void* display_ = nullptr;  // the helper's own connection (Display*)
    std::string name_;
    std::string error_;
};
