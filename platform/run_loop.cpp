#include "platform/run_loop.h"

#include <algorithm>

#include "platform/clock.h"

std::unique_ptr<Timer> Timer::timerWithTimeInterval(double interval, Action action) {
    return std::unique_ptr<Timer>(new Timer(interval, std::move(action)));
}

Timer::~Timer() { invalidate(); }

void Timer::invalidate() {
    valid_ = false;
    RunLoop::current().remove(this);
}

RunLoop& RunLoop::current() {
    static RunLoop loop;
    return loop;
}

void RunLoop::addTimer(Timer* timer, Mode) {
    if (!timer || !timer->isValid()) return;
    if (std::find(timers_.begin(), timers_.end(), timer) != timers_.end()) return;
    timer->nextFire_ = MonotonicSeconds() + timer->interval_;
    timers_.push_back(timer);
}

void RunLoop::remove(Timer* timer) { timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end()); }

void RunLoop::fireDueTimers() {
    const double now = MonotonicSeconds();
    // A timer's action may invalidate timers: work on a copy and recheck each.
    const std::vector<Timer*> due = timers_;
    for (Timer* timer : due) {
        if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) continue;
        if (!timer->valid_ || now < timer->nextFire_) continue;
        timer->nextFire_ = now + timer->interval_;
        timer->action_(timer);
    }
}
