#pragma once
// Drives screen-saver views as a screen-saver service does: starts them,
// sends every animating view one tick per animation interval, stops them.
// The host's own loop waits in between (secondsToNextTick) and handles input.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/screen_saver_view.h"

class SaverEngine {
public:
    struct Entry {
        ScreenSaverView* view = nullptr;
        std::string name;     // for diagnostics: the monitor or window it is on
        int64_t ticks = 0;    // animateOneFrame calls
        int64_t frames = 0;   // ticks after which the view was still animating
    };

    // The view is the host's; it must outlive the engine's use of it.
    void add(ScreenSaverView* view, std::string name);
    void startAnimation();
    void stopAnimation();

    // One animateOneFrame to every animating view, if the interval has passed
    // since the last tick (always, with force). Returns the views ticked.
    int tick(bool force = false);
    // Seconds until the next tick is due by the monotonic clock; 0 when due.
    double secondsToNextTick() const;
    bool anyAnimating() const;
    const std::vector<Entry>& entries() const { return entries_; }
    int64_t totalFrames() const;

private:
    double interval() const;

    std::vector<Entry> entries_;
    double nextTick_ = 0;
    bool started_ = false;
};
