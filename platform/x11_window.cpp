#include "platform/x11_window.h"

#include "platform/extension_token.h"

#include "platform/xlib.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/display_services_x11.h"
#include "platform/glx_context.h"
#include "platform/log.h"
#include "platform/x11_window_state.h"

namespace {

constexpr long kOwnEvents =
    StructureNotifyMask | ExposureMask | KeyPressMask | ButtonPressMask | PointerMotionMask;
// Another client's window: its input is that client's (a second client may not
// select button presses), so only its size and end are watched.
constexpr long kForeignEvents = StructureNotifyMask | ExposureMask;

// 32-bit colour is 8 bits for each of red, green and blue (the rest is padding or alpha).
int ChannelBits(int colorSize) { return colorSize >= 24 ? 8 : colorSize >= 15 ? 5 : 1; }

XVisualInfo* ChooseVisual(Display* dpy, int screen, const PixelFormat& format) {
    const int channel = ChannelBits(format.colorSize);
    std::vector<int> attributes = {GLX_RGBA, GLX_RED_SIZE, channel, GLX_GREEN_SIZE, channel, GLX_BLUE_SIZE, channel};
    if (format.depthSize > 0) attributes.insert(attributes.end(), {GLX_DEPTH_SIZE, format.depthSize});
    if (format.doubleBuffer) attributes.push_back(GLX_DOUBLEBUFFER);
    attributes.push_back(None);
    return glXChooseVisual(dpy, screen, attributes.data());
}

int Config(Display* dpy, XVisualInfo* visual, int attribute) {
    int value = 0;
    if (glXGetConfig(dpy, visual, attribute, &value) != 0) return 0;
    return value;
}

// What a visual lacks of the format, for the log; "" when it has it all.
std::string Shortfall(Display* dpy, XVisualInfo* visual, const PixelFormat& format) {
    std::string missing;
    if (format.doubleBuffer && !Config(dpy, visual, GLX_DOUBLEBUFFER)) missing += " double buffering";
    if (Config(dpy, visual, GLX_DEPTH_SIZE) < format.depthSize) missing += " a depth buffer of " + std::to_string(format.depthSize) + " bits";
    const int channel = ChannelBits(format.colorSize);
    if (Config(dpy, visual, GLX_RED_SIZE) < channel || Config(dpy, visual, GLX_GREEN_SIZE) < channel ||
        Config(dpy, visual, GLX_BLUE_SIZE) < channel)
        missing += " " + std::to_string(format.colorSize) + "-bit colour";
    return missing;
}

// False when the screen's renderer says it is software only; true when it is
// accelerated or says nothing. A software renderer is taken, and said so once.
bool RendererAccelerated(Display* dpy, int screen) {
    if (!HasExtensionToken(glXQueryExtensionsString(dpy, screen), "GLX_MESA_query_renderer")) return true;
    auto queryInteger = reinterpret_cast<PFNGLXQUERYRENDERERINTEGERMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    auto queryString = reinterpret_cast<PFNGLXQUERYRENDERERSTRINGMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererStringMESA")));
    unsigned accelerated = 1;
    if (!queryInteger || !queryInteger(dpy, screen, 0, GLX_RENDERER_ACCELERATED_MESA, &accelerated) || accelerated)
        return true;
    static bool noted = false;
    if (!noted) {
        const char* name = queryString ? queryString(dpy, screen, 0, GLX_RENDERER_DEVICE_ID_MESA) : nullptr;
        NSLog("no accelerated OpenGL renderer on this display; drawing with the software renderer %s",
              name ? name : "");
        noted = true;
    }
    return false;
}

Cursor BlankCursor(Display* dpy, Window window) {
    static const char bits[1] = {0};
    Pixmap pixmap = XCreateBitmapFromData(dpy, window, bits, 1, 1);
    XColor black{};
    Cursor cursor = XCreatePixmapCursor(dpy, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(dpy, pixmap);
    return cursor;
}

std::shared_ptr<X11Window::State> NewOwnWindow(Display* dpy, const PixelFormat& format, Rect frame,
                                                bool overrideRedirect, std::string* error) {
    const int screen = DefaultScreen(dpy);
    XVisualInfo* visual = ChooseVisual(dpy, screen, format);
    if (!visual) {
        if (error) *error = "the X display offers no OpenGL visual with double buffering and a depth buffer";
        return nullptr;
    }
    auto state = std::make_shared<X11Window::State>();
    state->dpy = dpy;
    state->visual = *visual;
    XFree(visual);
    state->root = RootWindow(dpy, screen);
    state->colormap = XCreateColormap(dpy, state->root, state->visual.visual, AllocNone);
    state->width = std::max(1, static_cast<int>(frame.width));
    state->height = std::max(1, static_cast<int>(frame.height));

    XSetWindowAttributes attributes{};
    attributes.colormap = state->colormap;
    attributes.border_pixel = 0;
    attributes.background_pixel = BlackPixel(dpy, screen);
    attributes.event_mask = kOwnEvents;
    attributes.override_redirect = overrideRedirect;
    state->window = XCreateWindow(dpy, state->root, static_cast<int>(frame.x), static_cast<int>(frame.y),
                                  static_cast<unsigned>(state->width), static_cast<unsigned>(state->height), 0,
                                  state->visual.depth, InputOutput, state->visual.visual,
                                  CWColormap | CWBorderPixel | CWBackPixel | CWEventMask | CWOverrideRedirect,
                                  &attributes);
    return state;
}

}  // namespace

X11Window::X11Window(WindowServer& server, std::shared_ptr<State> state) : server_(server), state_(std::move(state)) {
    server_.add(this);
    WatchWindowErrors(state_.get());
}

X11Window::~X11Window() {
    UnwatchWindowErrors(state_.get());
    server_.remove(this);
    Display* dpy = state_->dpy;
    if (!state_->foreign) {
        XDestroyWindow(dpy, state_->window);
        if (state_->colormap) XFreeColormap(dpy, state_->colormap);
        if (state_->blankCursor) XFreeCursor(dpy, state_->blankCursor);
    } else if (!state_->lost) {
        XErrorTrap trap(dpy);
        XSelectInput(dpy, state_->window, NoEventMask);
    }
    XFlush(dpy);
}

std::unique_ptr<X11Window> X11Window::createTopLevel(WindowServer& server, int width, int height,
                                                     const PixelFormat& format, std::string* error) {
    Display* dpy = static_cast<Display*>(server.display());
    auto state = NewOwnWindow(dpy, format, {0, 0, static_cast<float>(width), static_cast<float>(height)}, false, error);
    if (!state) return nullptr;
    XStoreName(dpy, state->window, "Korvel 3D");
    XClassHint hint{const_cast<char*>("korvel3d"), const_cast<char*>("Korvel3D")};
    XSetClassHint(dpy, state->window, &hint);
    Atom deleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, state->window, &deleteWindow, 1);
    return std::unique_ptr<X11Window>(new X11Window(server, std::move(state)));
}

std::unique_ptr<X11Window> X11Window::createFullScreen(WindowServer& server, const DisplayScreen& monitor,
                                                       const PixelFormat& format, std::string* error) {
    Display* dpy = static_cast<Display*>(server.display());
    // Override-redirect: no window manager moves, decorates or stacks it below a panel.
    auto state = NewOwnWindow(dpy, format, monitor.frame, true, error);
    if (!state) return nullptr;
    XStoreName(dpy, state->window, "Korvel 3D");
    state->blankCursor = BlankCursor(dpy, state->window);
    XDefineCursor(dpy, state->window, state->blankCursor);
    return std::unique_ptr<X11Window>(new X11Window(server, std::move(state)));
}

std::unique_ptr<X11Window> X11Window::adopt(WindowServer& server, unsigned long id, std::string* error) {
    Display* dpy = static_cast<Display*>(server.display());
    XWindowAttributes attributes{};
    bool exists = false;
    {
        XErrorTrap trap(dpy);
        exists = XGetWindowAttributes(dpy, id, &attributes) != 0;
        exists = !trap.failed() && exists;
    }
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%lx", id);
    if (!exists) {
        if (error) *error = std::string("no window ") + hex + " on the X display";
        return nullptr;
    }
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    wanted.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(dpy, VisualIDMask | VisualScreenMask, &wanted, &count);
    if (!visual || !Config(dpy, visual, GLX_USE_GL) || !Config(dpy, visual, GLX_RGBA)) {
        if (visual) XFree(visual);
        if (error) *error = std::string("window ") + hex + " has a visual that OpenGL cannot draw in";
        return nullptr;
    }
    auto state = std::make_shared<State>();
    state->dpy = dpy;
    state->visual = *visual;
    XFree(visual);
    state->window = id;
    state->root = attributes.root;
    state->foreign = true;
    state->width = attributes.width;
    state->height = attributes.height;
    std::unique_ptr<X11Window> window(new X11Window(server, std::move(state)));
    {
        XErrorTrap trap(dpy);
        XSelectInput(dpy, id, kForeignEvents);
        if (trap.failed()) {
            if (error) *error = std::string("window ") + hex + " went away";
            return nullptr;
        }
    }
    return window;
}

Rect X11Window::contentBounds() const {
    return {0, 0, static_cast<float>(state_->width), static_cast<float>(state_->height)};
}

std::optional<DisplayScreen> X11Window::screen() const {
    if (state_->lost) return std::nullopt;
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(state_->dpy, state_->window, state_->root, 0, 0, &x, &y, &child)) return std::nullopt;
    return ScreenHolding({static_cast<float>(x), static_cast<float>(y), static_cast<float>(state_->width),
                          static_cast<float>(state_->height)});
}

std::unique_ptr<OpenGLContext> X11Window::createContext(const PixelFormat& format) {
    if (state_->lost) return nullptr;
    Display* dpy = state_->dpy;
    XVisualInfo* visual = &state_->visual;
    const std::string missing = Shortfall(dpy, visual, format);
    if (!missing.empty()) {
        // Our own windows were made for the format; another client's window is
        // what it is, and drawing in it as it is beats drawing nothing.
        if (!state_->foreign) return nullptr;
        NSLog("window 0x%lx lacks%s; drawing in it all the same", state_->window, missing.c_str());
    }
    GLXContext context = glXCreateContext(dpy, visual, nullptr, True);
    if (!context) return nullptr;
    return std::make_unique<GLXOpenGLContext>(state_, context, RendererAccelerated(dpy, visual->screen));
}

unsigned long X11Window::id() const { return state_->window; }

bool X11Window::lost() const { return state_->lost; }

std::vector<WindowEvent> X11Window::takeEvents() {
    std::vector<WindowEvent> events;
    events.swap(events_);
    // An error may have told of the window's end before its DestroyNotify did.
    if (state_->lost &&
        std::none_of(events.begin(), events.end(), [](const WindowEvent& e) { return e.kind == WindowEvent::Kind::Destroyed; }))
        events.push_back({WindowEvent::Kind::Destroyed, "", 0, 0});
    return events;
}

void X11Window::show() {
    if (state_->foreign) return;
    Display* dpy = state_->dpy;
    XMapRaised(dpy, state_->window);
    XEvent event;
    do {
        XWindowEvent(dpy, state_->window, StructureNotifyMask, &event);
        handle(&event);
    } while (event.type != MapNotify);
}

bool X11Window::grabInput() {
    Display* dpy = state_->dpy;
    // Another client (a menu, a drag) may hold the input for a moment: try for about a second.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int keyboard = XGrabKeyboard(dpy, state_->window, True, GrabModeAsync, GrabModeAsync, CurrentTime);
        const int pointer = XGrabPointer(dpy, state_->window, True, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                                         GrabModeAsync, None, state_->blankCursor, CurrentTime);
        if (keyboard == GrabSuccess && pointer == GrabSuccess) return true;
        if (keyboard == GrabSuccess) XUngrabKeyboard(dpy, CurrentTime);
        if (pointer == GrabSuccess) XUngrabPointer(dpy, CurrentTime);
        usleep(50000);
    }
    return false;
}

void X11Window::resized(int width, int height) {
    if (width == state_->width && height == state_->height) return;
    state_->width = width;
    state_->height = height;
    // The next redraw picks the size up (the view's resizeGL passes it to the scene).
    if (contentView_) contentView_->setFrameSize(static_cast<float>(width), static_cast<float>(height));
}

void X11Window::handle(const void* xevent) {
    const XEvent& event = *static_cast<const XEvent*>(xevent);
    switch (event.type) {
        case ConfigureNotify: resized(event.xconfigure.width, event.xconfigure.height); break;
        case DestroyNotify:
            if (event.xdestroywindow.window == state_->window) {
                state_->lost = true;
                events_.push_back({WindowEvent::Kind::Destroyed, "", 0, 0});
            }
            break;
        case KeyPress: {
            XKeyEvent key = event.xkey;
            KeySym symbol = NoSymbol;
            char text[8];
            XLookupString(&key, text, sizeof text, &symbol, nullptr);
            const char* name = symbol != NoSymbol ? XKeysymToString(symbol) : nullptr;
            events_.push_back({WindowEvent::Kind::Key, name ? name : "", 0, 0});
            break;
        }
        case ButtonPress: events_.push_back({WindowEvent::Kind::Button, "", event.xbutton.x_root, event.xbutton.y_root}); break;
        case MotionNotify: events_.push_back({WindowEvent::Kind::Motion, "", event.xmotion.x_root, event.xmotion.y_root}); break;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == XInternAtom(state_->dpy, "WM_DELETE_WINDOW", False))
                events_.push_back({WindowEvent::Kind::Close, "", 0, 0});
            break;
        default: break;
    }
}
