#pragma once
// The drawing surface: chooses the pixel format, sets the fixed GL state,
// owns the scene driver, loads the textures, times the ticks and draws.
#include <memory>

#include "platform/opengl_view.h"
#include "platform/rect.h"
#include "platform/run_loop.h"
#include "scene/scene_driver.h"

// The absolute time recorded by setStartTime.
extern double gStartTime;

class BasicOpenGLView : public OpenGLView {
public:
    ~BasicOpenGLView() override;  // dealloc

    // Double-buffered, 32-bit colour, 16-bit depth, accelerated, from all renderers.
    static std::unique_ptr<PixelFormat> basicPixelFormat();

    // False when the platform cannot make the view.
    bool initWithFrame(Rect frame);
    void Setup();
    void prepareOpenGL() override;
    void animateSS();
    void drawRect(Rect dirty) override;
    void resizeGL();
    void reshape() override;
    void update() override;

    bool acceptsFirstResponder() { return true; }
    bool becomeFirstResponder() { return true; }
    bool resignFirstResponder() { return true; }

    void setStartTime();
    double getElapsedTime();
    void StartAnim();
    void StopAnim();
    void animationTimer(Timer* timer);
    void updateModelView();

    bool fGLInit = false;
    std::unique_ptr<Timer> timer;
    bool fAnimate = false;
    double animtime = 0.0;
    bool isPreview = false;
    Rect Scrn;
    SSMAIN* ssMain = nullptr;
};
