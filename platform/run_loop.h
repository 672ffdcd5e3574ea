#pragma once
// Repeating timers and the run loop that fires them. The host's loop calls
// fireDueTimers on every pass, between its own ticks.
#include <functional>
#include <memory>
#include <vector>

class Timer {
public:
    using Action = std::function<void(Timer*)>;
    // A repeating timer of interval seconds; it does nothing until added to a run loop.
    static std::unique_ptr<Timer> timerWithTimeInterval(double interval, Action action);
    ~Timer();

    bool isValid() const { return valid_; }
    // Stops the timer for good and takes it off every run loop.
    void invalidate();
    double timeInterval() const { return interval_; }

private:
    friend class RunLoop;
    Timer(double interval, Action action) : interval_(interval), action_(std::move(action)) {}
    double interval_;
    Action action_;
    double nextFire_ = 0;
    bool valid_ = true;
};

class RunLoop {
public:
    enum class Mode { Default, EventTracking };
    static RunLoop& current();

    // The timer fires in the given mode (a timer added for several modes fires once per interval).
    void addTimer(Timer* timer, Mode mode);
    // Fires each valid timer whose time has come, by the monotonic clock.
    void fireDueTimers();
    size_t timerCount() const { return timers_.size(); }

private:
    friend class Timer;
    void remove(Timer* timer);
    std::vector<Timer*> timers_;
};
