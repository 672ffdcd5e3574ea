#pragma once
// An OpenGL context made with GLX that draws into one X window.
#include <memory>

#include "platform/opengl_context.h"
#include "platform/x11_window.h"

class GLXOpenGLContext : public OpenGLContext {
public:
    // Takes the GLX context (GLXContext) and destroys it when it goes. A
    // software renderer's swaps are not tied to the retrace (see setValues).
    GLXOpenGLContext(std::shared_ptr<X11Window::State> window, void* context, bool accelerated);
    ~GLXOpenGLContext() override;
    GLXOpenGLContext(const GLXOpenGLContext&) = delete;
    GLXOpenGLContext& operator=(const GLXOpenGLContext&) = delete;

    // NSOpenGLCPSwapInterval through GLX_EXT_swap_control, else GLX_MESA_swap_control.
    // For a software renderer the interval is 0: its emulated retrace wait
    // (Mesa on Xvfb) costs up to half the frame rate, and the host's 1/60 s
    // ticks pace its frames anyway.
    void setValues(const int32_t* values, int32_t parameter) override;
    // False once the window is gone.
    bool makeCurrentContext() override;
    void flushBuffer() override;

    int swapInterval() const { return swapInterval_; }

private:
    std::shared_ptr<X11Window::State> window_;
    void* context_;
    bool accelerated_;
    int swapInterval_ = 0;
};
