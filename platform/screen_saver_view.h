#pragma once
// The screen-saver view the host creates for every display (and for its
// preview pane) and drives with start, stop and per-frame calls.
#include "platform/view.h"

class ScreenSaverView : public View {
public:
    // False when the platform cannot make the view.
    virtual bool initWithFrame(Rect frame, bool isPreview);

    bool isPreview() const { return isPreview_; }
    // The host calls animateOneFrame at most this often.
    void setAnimationTimeInterval(double seconds) { animationTimeInterval_ = seconds; }
    double animationTimeInterval() const { return animationTimeInterval_; }

    virtual void startAnimation() { animating_ = true; }
    // The host sends no more ticks.
    virtual void stopAnimation() { animating_ = false; }
    bool isAnimating() const { return animating_; }
    virtual void animateOneFrame() {}
    virtual bool hasConfigureSheet() { return false; }

private:
    bool isPreview_ = false;
    bool animating_ = false;
    double animationTimeInterval_ = 1.0 / 30;
};
