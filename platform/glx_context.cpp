#include "platform/glx_context.h"

#include "platform/extension_token.h"

#include "platform/xlib.h"

#include <cstring>
#include <string>

#include "platform/x11_window_state.h"

namespace {

template <typename Function>
Function Lookup(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

GLXOpenGLContext::GLXOpenGLContext(std::shared_ptr<X11Window::State> window, void* context, bool accelerated)
    : window_(std::move(window)), context_(context), accelerated_(accelerated) {}

GLXOpenGLContext::~GLXOpenGLContext() {
    Display* dpy = window_->dpy;
    GLXContext context = static_cast<GLXContext>(context_);
    if (glXGetCurrentContext() == context) glXMakeCurrent(dpy, None, nullptr);
    glXDestroyContext(dpy, context);
}

void GLXOpenGLContext::setValues(const int32_t* values, int32_t parameter) {
    if (parameter != NSOpenGLCPSwapInterval || !values || window_->lost) return;
    // A software renderer's swaps are left free (Mesa would otherwise wait for a retrace by default).
    const int interval = accelerated_ ? values[0] : 0;
    Display* dpy = window_->dpy;
    // Swap control is the client library's own: a server may not list it.
    const std::string extensions = std::string(glXQueryExtensionsString(dpy, window_->visual.screen)) + " " +
                                   glXGetClientString(dpy, GLX_EXTENSIONS);
    if (HasExtensionToken(extensions.c_str(), "GLX_EXT_swap_control")) {
        if (auto set = Lookup<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT")) {
            set(dpy, window_->window, interval);
            swapInterval_ = interval;
        }
    } else if (HasExtensionToken(extensions.c_str(), "GLX_MESA_swap_control")) {
        // The MESA form sets the interval of the current context's drawable.
        if (auto set = Lookup<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA"))
            if (makeCurrentContext() && set(static_cast<unsigned>(interval)) == 0) swapInterval_ = interval;
    }
}

bool GLXOpenGLContext::makeCurrentContext() {
    if (window_->lost) return false;
    GLXContext context = static_cast<GLXContext>(context_);
    // Each view makes its context current before it draws; skip the round trip when it already is.
    if (glXGetCurrentContext() == context && glXGetCurrentDrawable() == window_->window) return true;
    return glXMakeCurrent(window_->dpy, window_->window, context);
}

void GLXOpenGLContext::flushBuffer() {
    if (window_->lost) return;
    glXSwapBuffers(window_->dpy, window_->window);
}
