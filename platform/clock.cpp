#include "platform/clock.h"

#include <ctime>

namespace {

// Seconds from 1970-01-01 to 2001-01-01, the absolute clock's origin.
constexpr double kAbsoluteEpoch = 978307200.0;

double RealMonotonic() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

SecondsSource monotonicSource = RealMonotonic;
SecondsSource absoluteSource = nullptr;

}  // namespace

double CFAbsoluteTimeGetCurrent() {
    if (absoluteSource) return absoluteSource();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - kAbsoluteEpoch + now.tv_nsec * 1e-9;
}

double MonotonicSeconds() { return monotonicSource(); }

void SetMonotonicSource(SecondsSource source) { monotonicSource = source ? source : RealMonotonic; }

void SetAbsoluteSource(SecondsSource source) { absoluteSource = source; }
