#include "scene/clock.h"

namespace {

std::time_t SystemTime() { return std::time(nullptr); }

ClockTimeSource timeSource = SystemTime;

}  // namespace

void SetClockTimeSource(ClockTimeSource source) { timeSource = source ? source : SystemTime; }

void Clock(int* hour, int* minute, int* second) {
    const std::time_t now = timeSource();
    std::tm local{};
    localtime_r(&now, &local);
    *hour = local.tm_hour;
    *minute = local.tm_min;
    *second = local.tm_sec;
}
