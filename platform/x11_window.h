#pragma once
// A window of the X server that views draw into with GLX: an ordinary
// resizable window, a full-screen window over one monitor, or a window of
// another client given by id (an XScreenSaver host's).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host_window.h"
#include "platform/view.h"
#include "platform/window_server.h"

// What the user did to a window, for the host to decide on.
struct WindowEvent {
    enum class Kind { Key, Button, Motion, Close, Destroyed };
    Kind kind = Kind::Key;
    std::string key;  // Key: the key's name as X spells it ("Escape", "q", "space")
    int x = 0, y = 0;  // Motion: the pointer on the root window
};

class X11Window : public HostWindow {
public:
    // A resizable top-level window titled "Korvel 3D" with a visual for the format.
    static std::unique_ptr<X11Window> createTopLevel(WindowServer& server, int width, int height,
                                                     const PixelFormat& format, std::string* error);
    // A borderless window over the whole monitor, above every other window, without a cursor.
    static std::unique_ptr<X11Window> createFullScreen(WindowServer& server, const DisplayScreen& monitor,
                                                       const PixelFormat& format, std::string* error);
    // Another client's window (or the root window); its own visual is used and its size followed.
    static std::unique_ptr<X11Window> adopt(WindowServer& server, unsigned long id, std::string* error);
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    Rect contentBounds() const override;
    std::optional<DisplayScreen> screen() const override;
    std::unique_ptr<OpenGLContext> createContext(const PixelFormat& format) override;

    unsigned long id() const;
    // True once another client destroyed the window: nothing can draw in it any more.
    bool lost() const;
    // The view that fills the window: it takes the window's new size on every resize.
    void setContentView(View* view) { contentView_ = view; }
    // The user's input and the window's end since the last call, oldest first.
    std::vector<WindowEvent> takeEvents();
    // Shows the window and waits until the server has mapped it (own windows only).
    void show();
    // Sends all keyboard and pointer input to this window, as a screen saver
    // must; false when another client holds them.
    bool grabInput();

    struct State;  // the Xlib side, shared with the window's contexts

private:
    friend class WindowServer;
    X11Window(WindowServer& server, std::shared_ptr<State> state);
    void handle(const void* xevent);
    void resized(int width, int height);

    WindowServer& server_;
    std::shared_ptr<State> state_;
    View* contentView_ = nullptr;
    std::vector<WindowEvent> events_;
};
