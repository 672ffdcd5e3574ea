#include "front/korvel3d_ss_view.h"

#include "front/preferences.h"
#include "platform/log.h"
#include "platform/screens.h"

Korvel3DSSView::Korvel3DSSView() = default;
Korvel3DSSView::~Korvel3DSSView() = default;

bool Korvel3DSSView::initWithFrame(Rect frame, bool isPreview) {
    if (!ScreenSaverView::initWithFrame(frame, isPreview)) return false;

    auto view = std::make_unique<BasicOpenGLView>();
    if (!view->initWithFrame({0, 0, frame.width, frame.height})) view.reset();
    if (view) {
        setAutoresizesSubviews(true);
        glView = view.get();
        addSubview(std::move(view));
        // A view whose window can give it no context cannot draw either.
        if (!glView->openGLContext()) glView = nullptr;
    }
    if (!glView) {
        NSLog("Error: OpenGL Screen Saver failed to initialize NSOpenGLView!");
        return true;
    }

    glView->prepareOpenGL();
    setAnimationTimeInterval(1 / 60.0);
    glView->isPreview = this->isPreview();
    glView->Setup();

    ReadPreferences(MainMonitorOnly, mySettings);
    if (override_) override_(MainMonitorOnly, mySettings);

    if (glView && glView->ssMain && glView->ssMain->CODE) glView->ssMain->CODE->Setup(&mySettings);
    ThisScreenIsOn = true;
    return true;
}

int32_t Korvel3DSSView::ScreenNumber() const {
    const HostWindow* host = window();
    if (!host) return 0;
    const std::optional<DisplayScreen> screen = host->screen();
    return screen ? screen->number : 0;
}

bool Korvel3DSSView::OnAllowedScreen() const {
    if (!MainMonitorOnly) return true;
    const std::optional<DisplayScreen> main = MainScreen();
    return ScreenNumber() == (main ? main->number : 0);
}

void Korvel3DSSView::startAnimation() {
    ThisScreenIsOn = true;
    if (!OnAllowedScreen()) ThisScreenIsOn = false;
    ScreenSaverView::startAnimation();
}

void Korvel3DSSView::stopAnimation() { ScreenSaverView::stopAnimation(); }

void Korvel3DSSView::animateOneFrame() {
    if (!ThisScreenIsOn) {
        stopAnimation();
        return;
    }
    if (glView) glView->animateSS();
}

void Korvel3DSSView::drawRect(Rect dirty) { ScreenSaverView::drawRect(dirty); }
