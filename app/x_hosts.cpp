#include <cstdio>
#include <cstdlib>

#include "app/hosts.h"
#include "app/x_host_loop.h"
#include "front/basic_opengl_view.h"
#include "platform/display_services.h"
#include "platform/log.h"
#include "platform/screens.h"

namespace {

constexpr int kDefaultWindowWidth = 1024, kDefaultWindowHeight = 768;
// The host's preview pane is small.
constexpr int kPreviewWidth = 400, kPreviewHeight = 300;
// Real mouse movement: more than this many pixels from where the pointer was at the start.
constexpr int kMotionSlack = 5;

std::unique_ptr<WindowServer> OpenServer() {
    // From the very start: XScreenSaver may end a hack while it is still setting up.
    CatchTerminationSignals();
    std::unique_ptr<WindowServer> server = WindowServer::open();
    if (!server) {
        const char* name = std::getenv("DISPLAY");
        UsageError(std::string("cannot open the X display '") + (name ? name : "") +
                   "' (set DISPLAY, or draw without one: --render DIR --frames N)");
    }
    return server;
}

int Fail(const std::string& why) {
    NSLog("%s", why.c_str());
    return 1;
}

}  // namespace

int UsageError(const std::string& message) {
    std::fprintf(stderr, "korvel3d: %s\n", message.c_str());
    return 2;
}

int RunFullScreen(const CommandLine& line) {
    std::unique_ptr<WindowServer> server = OpenServer();
    if (!server) return 2;
    const std::unique_ptr<PixelFormat> format = BasicOpenGLView::basicPixelFormat();
    int status = 0;
    {
        XHostLoop loop(*server);
        for (const DisplayScreen& monitor : Screens()) {
            std::string error;
            std::unique_ptr<X11Window> window = X11Window::createFullScreen(*server, monitor, *format, &error);
            if (!window) return Fail(error);
            window->show();
            if (loop.windows().empty() && !window->grabInput())
                NSLog("another program holds the keyboard or pointer; input may not end the saver");
            if (!loop.addView(std::move(window), line, monitor.name)) return 1;
        }
        int startX = 0, startY = 0;
        const bool knowStart = server->pointerPosition(&startX, &startY);
        status = loop.run(
            [&](const WindowEvent& event) {
                if (event.kind != WindowEvent::Kind::Motion) return true;  // any key or button
                if (!knowStart) {
                    startX = event.x, startY = event.y;
                    return false;
                }
                const int dx = event.x - startX, dy = event.y - startY;
                return dx * dx + dy * dy > kMotionSlack * kMotionSlack;
            },
            line.showFrameRate);
    }
    CloseDisplayServices();
    return status;
}

int RunWindow(const CommandLine& line) {
    std::unique_ptr<WindowServer> server = OpenServer();
    if (!server) return 2;
    const bool small = line.preview && line.mode != HostMode::Window;
    const int width = line.width > 0 ? line.width : small ? kPreviewWidth : kDefaultWindowWidth;
    const int height = line.height > 0 ? line.height : small ? kPreviewHeight : kDefaultWindowHeight;
    int status = 0;
    {
        XHostLoop loop(*server);
        std::string error;
        std::unique_ptr<X11Window> window =
            X11Window::createTopLevel(*server, width, height, *BasicOpenGLView::basicPixelFormat(), &error);
        if (!window) return Fail(error);
        window->show();
        if (!loop.addView(std::move(window), line, "window")) return 1;
        status = loop.run(
            [](const WindowEvent& event) {
                if (event.kind == WindowEvent::Kind::Close) return true;
                return event.kind == WindowEvent::Kind::Key && (event.key == "Escape" || event.key == "q");
            },
            line.showFrameRate);
    }
    CloseDisplayServices();
    return status;
}

int RunHack(const CommandLine& line) {
    std::unique_ptr<WindowServer> server = OpenServer();
    if (!server) return 2;
    int status = 0;
    {
        XHostLoop loop(*server);
        std::string error;
        unsigned long id = line.windowId;
        if (id == 0) id = static_cast<unsigned long>(server->rootWindow());
        std::unique_ptr<X11Window> window = X11Window::adopt(*server, id, &error);
        if (!window) return UsageError(error);
        char name[32];
        std::snprintf(name, sizeof name, "window 0x%lx", id);
        if (!loop.addView(std::move(window), line, name)) return 1;
        // XScreenSaver ends its hacks with SIGTERM; input is its own business.
        status = loop.run([](const WindowEvent&) { return false; }, line.showFrameRate);
    }
    CloseDisplayServices();
    return status;
}
