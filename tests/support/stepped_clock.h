#pragma once
// A monotonic clock that moves only when the test moves it.
#include "platform/clock.h"

class SteppedClock {
public:
    SteppedClock() { SetMonotonicSource(&Now); }
    ~SteppedClock() { SetMonotonicSource(nullptr); }
    SteppedClock(const SteppedClock&) = delete;
    SteppedClock& operator=(const SteppedClock&) = delete;

    void advance(double seconds) { now() += seconds; }

private:
    static double& now() {
        static double seconds = 1000.0;
        return seconds;
    }
    static double Now() { return now(); }
};
