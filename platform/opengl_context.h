#pragma once
// A view's OpenGL context, created for the window the view is in.
#include <cstdint>

enum : int32_t { NSOpenGLCPSwapInterval = 222 };

class OpenGLContext {
public:
    virtual ~OpenGLContext() = default;
    // NSOpenGLCPSwapInterval with 1: swaps wait for the display's retrace where the driver allows.
    virtual void setValues(const int32_t* values, int32_t parameter) = 0;
    virtual bool makeCurrentContext() = 0;
    // Shows the back buffer.
    virtual void flushBuffer() = 0;
};
