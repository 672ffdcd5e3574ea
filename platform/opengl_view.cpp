#include "platform/opengl_view.h"

OpenGLView::~OpenGLView() = default;

bool OpenGLView::initWithFrame(Rect frame, std::unique_ptr<PixelFormat> format) {
    if (!format) return false;
    setFrame(frame);
    pixelFormat_ = std::move(format);
    return true;
}

OpenGLContext* OpenGLView::openGLContext() {
    if (!context_ && pixelFormat_)
        if (HostWindow* host = window()) context_ = host->createContext(*pixelFormat_);
    return context_.get();
}

bool OpenGLView::inLiveResize() const {
    const HostWindow* host = window();
    return host && host->inLiveResize();
}
