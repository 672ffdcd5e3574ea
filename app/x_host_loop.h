#pragma once
// The loop of every host with a display: ticks at the views' animation
// interval, sleeping in between until the server sends something, hands the
// windows' events to the host, and ends on SIGTERM or SIGINT.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "front/korvel3d_ss_view.h"
#include "platform/saver_engine.h"
#include "platform/window_server.h"
#include "platform/x11_window.h"

class XHostLoop {
public:
    explicit XHostLoop(WindowServer& server) : server_(server) {}
    ~XHostLoop();

    // A saver view in the window; false (with the reason logged) when none can be made.
    bool addView(std::unique_ptr<X11Window> window, const CommandLine& line, const std::string& name);

    // True when the event ends the session. A destroyed window always ends it.
    using EndsOn = std::function<bool(const WindowEvent&)>;
    // Starts the views and runs until an event, a signal (CatchTerminationSignals
    // first) or a window's end. Returns 0.
    int run(const EndsOn& endsOn, bool showFrameRate);

    SaverEngine& engine() { return engine_; }
    std::vector<std::unique_ptr<X11Window>>& windows() { return windows_; }

private:
    WindowServer& server_;
    SaverEngine engine_;
    // Views go before their windows: a view's contexts draw into its window.
    std::vector<std::unique_ptr<X11Window>> windows_;
    std::vector<std::unique_ptr<Korvel3DSSView>> views_;
};

// Installs the handlers that make SIGTERM and SIGINT end the loop cleanly.
void CatchTerminationSignals();
