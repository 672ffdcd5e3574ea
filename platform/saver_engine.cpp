#include "platform/saver_engine.h"

#include <algorithm>

#include "platform/clock.h"

void SaverEngine::add(ScreenSaverView* view, std::string name) {
    Entry entry;
    entry.view = view;
    entry.name = std::move(name);
    entries_.push_back(std::move(entry));
}

void SaverEngine::startAnimation() {
    for (Entry& entry : entries_) entry.view->startAnimation();
    nextTick_ = MonotonicSeconds();
    started_ = true;
}

void SaverEngine::stopAnimation() {
    for (Entry& entry : entries_)
        if (entry.view->isAnimating()) entry.view->stopAnimation();
}

double SaverEngine::interval() const {
    double shortest = 0;
    for (const Entry& entry : entries_)
        if (entry.view->isAnimating() && (shortest == 0 || entry.view->animationTimeInterval() < shortest))
            shortest = entry.view->animationTimeInterval();
    return shortest > 0 ? shortest : 1.0 / 60;
}

int SaverEngine::tick(bool force) {
    const double now = MonotonicSeconds();
    if (!force && now < nextTick_) return 0;
    // Keep the cadence, but after a stall start afresh rather than burst to catch up.
    nextTick_ += interval();
    if (nextTick_ < now) nextTick_ = now + interval();
    int ticked = 0;
    for (Entry& entry : entries_) {
        if (!entry.view->isAnimating()) continue;
        entry.view->animateOneFrame();
        ++entry.ticks;
        ++ticked;
        if (entry.view->isAnimating()) ++entry.frames;
    }
    return ticked;
}

double SaverEngine::secondsToNextTick() const {
    if (!started_) return 0;
    return std::max(0.0, nextTick_ - MonotonicSeconds());
}

bool SaverEngine::anyAnimating() const {
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.view->isAnimating(); });
}

int64_t SaverEngine::totalFrames() const {
    int64_t total = 0;
    for (const Entry& entry : entries_) total += entry.frames;
    return total;
}
