#include "front/basic_opengl_view.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "caps/gl_caps.h"
#include "platform/bundle.h"
#include "platform/clock.h"
#include "resources/texture_set.h"

double gStartTime = 0.0;

namespace {
constexpr size_t kPathBufferSize = 16384;
}  // namespace

BasicOpenGLView::~BasicOpenGLView() {
    StopAnim();
    if (ssMain) {
        // The driver's textures belong to this view's context.
        if (OpenGLContext* context = openGLContext()) context->makeCurrentContext();
        ssMain->Cleanup();
        delete ssMain;
        ssMain = nullptr;
    }
}

std::unique_ptr<PixelFormat> BasicOpenGLView::basicPixelFormat() {
    const uint32_t attributes[] = {NSOpenGLPFAWindow,   NSOpenGLPFAAllRenderers, NSOpenGLPFAAccelerated,
                                   NSOpenGLPFADoubleBuffer, NSOpenGLPFAColorSize, 32,
                                   NSOpenGLPFADepthSize, 16,                     0};
    return PixelFormat::initWithAttributes(attributes);
}

bool BasicOpenGLView::initWithFrame(Rect frame) { return OpenGLView::initWithFrame(frame, basicPixelFormat()); }

void BasicOpenGLView::Setup() {
    const Rect rect = bounds();
    // GL work below (textures, blend state) goes to this view's context.
    if (OpenGLContext* context = openGLContext()) context->makeCurrentContext();
    setStartTime();
    getCurrentCaps();
    // Through a signed 64-bit value: a clock set before 2001 gives a negative time,
    // which has no defined conversion straight to an unsigned type.
    srand(static_cast<uint32_t>(static_cast<int64_t>(gStartTime)));

    if (ssMain) {
        ssMain->Cleanup();
        delete ssMain;
        ssMain = nullptr;
    }
    ssMain = new SSMAIN(static_cast<int32_t>(rect.width));
    ssMain->Setup(isPreview, static_cast<int32_t>(rect.width), static_cast<int32_t>(rect.height));

    // A path that does not fit the buffer counts as not found.
    char path[kPathBufferSize] = "";
    const std::string found = pathForResource("quimble", "drovanets");
    if (found.size() < kPathBufferSize) std::memcpy(path, found.c_str(), found.size() + 1);
    LoadTexturesFromDataFile(path, &ssMain->TEXTURES, &ssMain->NUMTEXTURES);
    ssMain->CODE->GLYPHTEX = ssMain->TEXTURES[0].glName;

    fAnimate = true;
    animtime = MonotonicSeconds();
}

void BasicOpenGLView::prepareOpenGL() {
    OpenGLContext* context = openGLContext();
    if (!context) return;
    context->makeCurrentContext();
    const int32_t swapInterval = 1;
    context->setValues(&swapInterval, NSOpenGLCPSwapInterval);

    glShadeModel(GL_SMOOTH);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    if (ssMain && ssMain->CODE) {
        const colour4d& bg = ssMain->CODE->BGCol;
        glClearColor(bg.r, bg.g, bg.b, 0.0f);
    }
}

void BasicOpenGLView::animateSS() {
    if (!ssMain) return;
    // A monotonic clock: setting the wall clock back cannot run the scene backwards.
    const double now = MonotonicSeconds();
    const double interval = now - animtime;
    if (interval > 10.0) {
        animtime = MonotonicSeconds();
        return;
    }
    ssMain->Update(interval);
    animtime = MonotonicSeconds();
    drawRect(bounds());
}

void BasicOpenGLView::drawRect(Rect) {
    OpenGLContext* context = openGLContext();
    if (!context || !ssMain) return;
    // Each view has its own context; several views draw in turn.
    context->makeCurrentContext();
    if (!fGLInit) prepareOpenGL();
    fGLInit = true;
    resizeGL();
    reshape();
    ssMain->Draw();
    if (inLiveResize() && !fAnimate)
        glFlush();
    else
        context->flushBuffer();
}

void BasicOpenGLView::resizeGL() {
    const Rect rect = bounds();
    if (rect.width != Scrn.width || rect.height != Scrn.height) {
        Scrn.width = rect.width;
        Scrn.height = rect.height;
        glViewport(0, 0, static_cast<GLsizei>(rect.width), static_cast<GLsizei>(rect.height));
        if (ssMain) ssMain->SetSize(static_cast<int32_t>(rect.width), static_cast<int32_t>(rect.height));
    }
}

void BasicOpenGLView::reshape() {
    const Rect rect = bounds();
    OpenGLContext* context = openGLContext();
    if (!context) return;
    context->makeCurrentContext();
    Scrn.width = rect.width;
    Scrn.height = rect.height;
    glViewport(0, 0, static_cast<GLsizei>(rect.width), static_cast<GLsizei>(rect.height));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A minimised view has no height: keep the aspect finite (the driver draws nothing then).
    const float aspect = Scrn.height > 0 ? Scrn.width / Scrn.height : 1.0f;
    gluPerspective(45.0, aspect, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void BasicOpenGLView::update() {
    OpenGLView::update();
    if (!inLiveResize()) getCurrentCaps();
}

void BasicOpenGLView::setStartTime() { gStartTime = CFAbsoluteTimeGetCurrent(); }

double BasicOpenGLView::getElapsedTime() { return CFAbsoluteTimeGetCurrent() - gStartTime; }

void BasicOpenGLView::StartAnim() {
    timer = Timer::timerWithTimeInterval(static_cast<float>(1.0 / 60.0), [this](Timer* t) { animationTimer(t); });
    RunLoop::current().addTimer(timer.get(), RunLoop::Mode::Default);
    RunLoop::current().addTimer(timer.get(), RunLoop::Mode::EventTracking);
}

void BasicOpenGLView::StopAnim() {
    if (timer && timer->isValid()) timer->invalidate();
}

void BasicOpenGLView::animationTimer(Timer*) {}

void BasicOpenGLView::updateModelView() {}
