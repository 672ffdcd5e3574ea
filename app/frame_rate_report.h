#pragma once
// --fps: every few seconds one line on stderr with the frames drawn per
// second and the process's CPU time per frame, and how each view fares.
#include <cstdint>

#include "platform/saver_engine.h"

class FrameRateReport {
public:
    explicit FrameRateReport(const SaverEngine& engine, double period = 5.0);
    // Writes the line when the period has passed since the last one.
    void poll();

private:
    const SaverEngine& engine_;
    double period_;
    double lastTime_;
    double lastCpu_;
    int64_t lastFrames_;
};

// The process's CPU seconds (every thread, the renderer's included).
double ProcessCPUSeconds();
