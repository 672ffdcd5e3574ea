#pragma once
// The local time for the clock overlay.
#include <ctime>

// The current hour (0 to 23), minute and second in the local time zone.
void Clock(int* hour, int* minute, int* second);

// Where Clock takes the calendar time from: time(nullptr) unless replaced.
// Tests fix the time through this and the TZ variable instead of waiting.
using ClockTimeSource = std::time_t (*)();
void SetClockTimeSource(ClockTimeSource source);
