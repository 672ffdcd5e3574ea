#pragma once
// A frame-rate counter: the caller advances fCount once per drawn frame and
// calls CalcFrameRate with the current time in seconds.
#include <cstdint>

extern int32_t fCount;
// Frames per second over the last completed span.
extern double frameRate;
// When frameRate was last computed, and fCount at that moment.
extern double lastcountTime;
extern int32_t lastcountFrame;

// Recomputes frameRate once more than a quarter second has passed since the
// last computation (and not during the first quarter second).
void CalcFrameRate(double now);
