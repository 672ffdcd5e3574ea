#pragma once
// A view that draws with OpenGL into the window it is in.
#include <memory>

#include "platform/opengl_context.h"
#include "platform/pixel_format.h"
#include "platform/view.h"

class OpenGLView : public View {
public:
    ~OpenGLView() override;
    // False without a pixel format.
    bool initWithFrame(Rect frame, std::unique_ptr<PixelFormat> format);

    // The view's context, created on first request for its window; nullptr
    // while the view is in no window or no context can be made.
    OpenGLContext* openGLContext();

    virtual void prepareOpenGL() {}
    // The platform's own reaction to a size change; subclasses set the viewport.
    virtual void reshape() {}
    // Called when the drawing surface changes (a new size).
    virtual void update() {}
    bool inLiveResize() const;

protected:
    void frameSizeChanged() override { update(); }

private:
    std::unique_ptr<PixelFormat> pixelFormat_;
    std::unique_ptr<OpenGLContext> context_;
};
