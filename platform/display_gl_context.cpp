#include "platform/display_gl_context.h"

#include <EGL/egl.h>
#include <GL/glx.h>

#include "platform/display_services_x11.h"

SavedGLContext::SavedGLContext() {
    if (GLXContext context = glXGetCurrentContext()) {
        glxContext_ = context;
        glxDisplay_ = glXGetCurrentDisplay();
        glxDraw_ = glXGetCurrentDrawable();
        glxRead_ = glXGetCurrentReadDrawable();
    }
    EGLContext context = eglGetCurrentContext();
    if (context != EGL_NO_CONTEXT) {
        eglContext_ = context;
        eglDisplay_ = eglGetCurrentDisplay();
        eglDraw_ = eglGetCurrentSurface(EGL_DRAW);
        eglRead_ = eglGetCurrentSurface(EGL_READ);
    }
}

SavedGLContext::~SavedGLContext() { restore(); }

void SavedGLContext::restore() {
    if (restored_) return;
    restored_ = true;
    // Let go of whatever the survey left current, through the interface that made it so.
    if (glXGetCurrentContext() && glXGetCurrentContext() != glxContext_)
        glXMakeContextCurrent(glXGetCurrentDisplay(), None, None, nullptr);
    if (eglGetCurrentContext() != EGL_NO_CONTEXT && eglGetCurrentContext() != eglContext_)
        eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);

    if (glxContext_ && glXGetCurrentContext() != glxContext_)
        glXMakeContextCurrent(static_cast<Display*>(glxDisplay_), glxDraw_, glxRead_,
                              static_cast<GLXContext>(glxContext_));
    if (eglContext_ && eglGetCurrentContext() != eglContext_)
        eglMakeCurrent(eglDisplay_, eglDraw_, eglRead_, eglContext_);
}

DisplayGLContext::~DisplayGLContext() { destroy(); }

bool DisplayGLContext::create(uint32_t displayMask) {
    destroy();
    Display* dpy = DisplayServicesConnection();
    const ActiveDisplay* display = ActiveDisplayForMask(displayMask);
    if (!dpy || !display) return false;
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(dpy, &errorBase, &eventBase)) return false;

    const int want[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT, None};
    int count = 0;
    GLXFBConfig* formats = glXChooseFBConfig(dpy, display->screen, want, &count);
    if (!formats) return false;
    if (count <= 0) {
        XFree(formats);
        return false;
    }
    XErrorTrap trap(dpy);
    GLXContext context = glXCreateNewContext(dpy, formats[0], GLX_RGBA_TYPE, nullptr, True);
    const int size[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    GLXPbuffer drawable = context ? glXCreatePbuffer(dpy, formats[0], size) : 0;
    XFree(formats);
    const bool failed = trap.failed();
    if (context) context_ = context;
    drawable_ = drawable;
    if (failed || !context_ || !drawable_) {
        destroy();
        return false;
    }
    return true;
}

bool DisplayGLContext::makeCurrent() {
    Display* dpy = DisplayServicesConnection();
    if (!dpy || !context_) return false;
    if (eglGetCurrentContext() != EGL_NO_CONTEXT)
        eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    XErrorTrap trap(dpy);
    const bool made = glXMakeContextCurrent(dpy, drawable_, drawable_, static_cast<GLXContext>(context_));
    return made && !trap.failed();
}

void DisplayGLContext::destroy() {
    Display* dpy = DisplayServicesConnection();
    if (dpy) {
        XErrorTrap trap(dpy);
        if (context_ && glXGetCurrentContext() == context_) glXMakeContextCurrent(dpy, None, None, nullptr);
        if (context_) glXDestroyContext(dpy, static_cast<GLXContext>(context_));
        if (drawable_) glXDestroyPbuffer(dpy, drawable_);
    }
    context_ = nullptr;
    drawable_ = 0;
}
