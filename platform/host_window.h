#pragma once
// Where views draw: a window of the X server (GLX) or an offscreen
// framebuffer (EGL). The host creates one per view and puts the view in it.
#include <memory>
#include <optional>

#include "platform/opengl_context.h"
#include "platform/pixel_format.h"
#include "platform/rect.h"
#include "platform/screens.h"

class HostWindow {
public:
    virtual ~HostWindow() = default;
    // The drawable area, origin (0, 0), in pixels.
    virtual Rect contentBounds() const = 0;
    // The monitor that holds the window; nothing when it is on none (or there is no display).
    virtual std::optional<DisplayScreen> screen() const = 0;
    // A context that draws into this window; nullptr when none can be made for the format.
    virtual std::unique_ptr<OpenGLContext> createContext(const PixelFormat& format) = 0;
    // True while the user drags the window's size.
    virtual bool inLiveResize() const { return false; }
};
