#pragma once
// Context switching for the capability survey: remember the calling thread's
// current OpenGL context, draw on a short-lived context of one display, and
// make the remembered one current again.
#include <cstdint>

// The thread's current context when constructed, whichever interface (GLX or
// EGL) made it current; restore() makes exactly that current again, or leaves
// none current when there was none. The destructor restores too.
class SavedGLContext {
public:
    SavedGLContext();
    ~SavedGLContext();
    SavedGLContext(const SavedGLContext&) = delete;
    SavedGLContext& operator=(const SavedGLContext&) = delete;
    void restore();

private:
    // GLX
    void* glxDisplay_ = nullptr;
    void* glxContext_ = nullptr;
    unsigned long glxDraw_ = 0;
    unsigned long glxRead_ = 0;
    // EGL
    void* eglDisplay_ = nullptr;
    void* eglContext_ = nullptr;
    void* eglDraw_ = nullptr;
    void* eglRead_ = nullptr;
    bool restored_ = false;
};

// A temporary GLX context on the display that a mask names, with a 1 x 1
// off-screen drawable. It is destroyed, and released first if current, when
// the object goes.
class DisplayGLContext {
public:
    DisplayGLContext() = default;
    ~DisplayGLContext();
    DisplayGLContext(const DisplayGLContext&) = delete;
    DisplayGLContext& operator=(const DisplayGLContext&) = delete;

    // Chooses a pixel format on the mask's display and creates the context from
    // it. False when no format or no context results.
    bool create(uint32_t displayMask);
    // Makes the context current, first releasing whatever EGL context is
    // current (a thread cannot hold GLX and EGL contexts at once).
    bool makeCurrent();

private:
    void destroy();

    void* context_ = nullptr;   // GLXContext
    unsigned long drawable_ = 0;  // GLXPbuffer
};
