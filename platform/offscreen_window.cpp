#include "platform/offscreen_window.h"

#include <GL/gl.h>

class OffscreenContext : public OpenGLContext {
public:
    explicit OffscreenContext(OffscreenWindow& window) : window_(window) {}
    void setValues(const int32_t* values, int32_t parameter) override {
        if (parameter == NSOpenGLCPSwapInterval && values) window_.swapInterval_ = values[0];
    }
    bool makeCurrentContext() override { return window_.gl_.makeCurrent(); }
    void flushBuffer() override {
        // No screen to swap to: the frame is complete once GL has finished it.
        glFinish();
        ++window_.flushes_;
    }

private:
    OffscreenWindow& window_;
};

OffscreenWindow::OffscreenWindow(int width, int height) { valid_ = gl_.create(width, height); }

Rect OffscreenWindow::contentBounds() const {
    return {0, 0, static_cast<float>(gl_.width()), static_cast<float>(gl_.height())};
}

std::unique_ptr<OpenGLContext> OffscreenWindow::createContext(const PixelFormat&) {
    if (!valid_) return nullptr;
    return std::make_unique<OffscreenContext>(*this);
}

bool OffscreenWindow::resize(int width, int height) { return valid_ && gl_.resize(width, height); }
