#include "diag/frame_rate.h"

int32_t fCount = 0;
double frameRate = 0.0;
double lastcountTime = 0.0;
int32_t lastcountFrame = 0;

void CalcFrameRate(double now) {
    // Shorter spans give a jumpy rate.
    const double interval = 0.25;
    if (now < interval) return;
    if (now <= lastcountTime + interval) return;
    // The divisor exceeds the interval, so it is never zero.
    frameRate = static_cast<double>(fCount - lastcountFrame) / (now - lastcountTime);
    lastcountFrame = fCount;
    lastcountTime = now;
}
