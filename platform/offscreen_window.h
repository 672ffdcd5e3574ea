#pragma once
// A window with no display: an EGL framebuffer of the given size. Headless
// rendering draws into it, and tests host views in it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless_gl_context.h"
#include "platform/host_window.h"

class OffscreenWindow : public HostWindow {
public:
    OffscreenWindow(int width, int height);
    // False when no headless GL context could be made; error() says why.
    bool valid() const { return valid_; }
    const std::string& error() const { return gl_.error(); }

    Rect contentBounds() const override;
    std::optional<DisplayScreen> screen() const override { return screen_; }
    std::unique_ptr<OpenGLContext> createContext(const PixelFormat& format) override;
    bool inLiveResize() const override { return liveResize_; }

    // A new framebuffer size (the drawn pixels are lost).
    bool resize(int width, int height);
    void setScreen(std::optional<DisplayScreen> screen) { screen_ = std::move(screen); }
    void setInLiveResize(bool live) { liveResize_ = live; }

    // The last frame, RGBA, top row first.
    std::vector<uint8_t> pixels() const { return gl_.readPixels(); }
    // How many times a context of this window showed its back buffer.
    int flushCount() const { return flushes_; }
    int swapInterval() const { return swapInterval_; }

private:
    friend class OffscreenContext;
    HeadlessGLContext gl_;
    bool valid_ = false;
    std::optional<DisplayScreen> screen_;
    bool liveResize_ = false;
    int flushes_ = 0;
    int swapInterval_ = 0;
};
