#include "platform/headless_gl_context.h"

#include <algorithm>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

namespace {

EGLDisplay surfacelessDisplay() {
    // eglGetDisplay(EGL_DEFAULT_DISPLAY) needs an X server; the platform call does not.
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

HeadlessGLContext::~HeadlessGLContext() { destroy(); }

bool HeadlessGLContext::fail(const std::string& why) {
    error_ = why;
    destroy();
    return false;
}

bool HeadlessGLContext::create(int width, int height) {
    destroy();
    EGLDisplay display = surfacelessDisplay();
    if (display == EGL_NO_DISPLAY) return fail("no surfaceless EGL display (is Mesa's EGL installed?)");
    if (!eglInitialize(display, nullptr, nullptr)) return fail("eglInitialize failed");
    display_ = display;
    if (!eglBindAPI(EGL_OPENGL_API)) return fail("EGL cannot bind desktop OpenGL");

    // A 2.1 request gives a compatibility-profile context: the fixed-function pipeline.
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1, EGL_NONE};
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) {
        // Without EGL_KHR_no_config_context, any desktop-GL config will do: we draw into an FBO.
        const EGLint want[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLConfig config = nullptr;
        EGLint count = 0;
        if (eglChooseConfig(display, want, &config, 1, &count) && count > 0)
            context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
    }
    if (context == EGL_NO_CONTEXT) return fail("eglCreateContext failed");
    context_ = context;
    if (!makeCurrent()) return fail("eglMakeCurrent failed");
    if (!createFramebuffer(width, height)) return fail(error_);
    return true;
}

bool HeadlessGLContext::makeCurrent() {
    if (!display_ || !context_) return false;
    if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_)) return false;
    if (framebuffer_) glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return true;
}

bool HeadlessGLContext::resize(int width, int height) {
    if (!makeCurrent()) return false;
    destroyFramebuffer();
    return createFramebuffer(width, height);
}

bool HeadlessGLContext::createFramebuffer(int width, int height) {
    if (width <= 0 || height <= 0) {
        error_ = "framebuffer size must be positive";
        return false;
    }
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenRenderbuffers(1, &colourBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer_);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error_ = "the framebuffer object is incomplete";
        return false;
    }
    width_ = width;
    height_ = height;
    glViewport(0, 0, width, height);
    return true;
}

void HeadlessGLContext::destroyFramebuffer() {
    if (depthBuffer_) glDeleteRenderbuffers(1, &depthBuffer_);
    if (colourBuffer_) glDeleteRenderbuffers(1, &colourBuffer_);
    if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
    depthBuffer_ = colourBuffer_ = framebuffer_ = 0;
    width_ = height_ = 0;
}

void HeadlessGLContext::destroy() {
    if (display_ && context_ && eglGetCurrentContext() == context_) destroyFramebuffer();
    if (display_) eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (display_ && context_) eglDestroyContext(display_, context_);
    // The display is shared by every context of the process; terminating it
    // would pull the rug from under another live context, so it stays.
    context_ = nullptr;
    display_ = nullptr;
    framebuffer_ = colourBuffer_ = depthBuffer_ = 0;
    width_ = height_ = 0;
}

std::vector<uint8_t> HeadlessGLContext::readPixels() const {
    std::vector<uint8_t> bottomUp(static_cast<size_t>(width_) * height_ * 4);
    if (bottomUp.empty()) return bottomUp;
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    // GL's rows come bottom-up; images are stored top row first.
    std::vector<uint8_t> topDown(bottomUp.size());
    const size_t row = static_cast<size_t>(width_) * 4;
    for (int y = 0; y < height_; ++y)
        std::copy_n(bottomUp.begin() + (height_ - 1 - y) * row, row, topDown.begin() + y * row);
    return topDown;
}
