#include "app/frame_rate_report.h"

#include <ctime>
#include <string>

#include "diag/frame_rate.h"
#include "platform/clock.h"
#include "platform/log.h"

double ProcessCPUSeconds() {
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return cpu.tv_sec + cpu.tv_nsec * 1e-9;
}

FrameRateReport::FrameRateReport(const SaverEngine& engine, double period)
    : engine_(engine), period_(period), lastTime_(MonotonicSeconds()), lastCpu_(ProcessCPUSeconds()),
      lastFrames_(engine.totalFrames()) {}

void FrameRateReport::poll() {
    const double now = MonotonicSeconds();
    // The diagnostics' own counter follows every drawn frame too.
    fCount = static_cast<int32_t>(engine_.totalFrames());
    CalcFrameRate(now);
    if (now - lastTime_ < period_) return;
    const double cpu = ProcessCPUSeconds();
    const int64_t frames = engine_.totalFrames();
    const int64_t drawn = frames - lastFrames_;
    const double span = now - lastTime_;
    // Per view: with several monitors each view draws its own frames.
    int drawing = 0;
    std::string views;
    for (const SaverEngine::Entry& entry : engine_.entries()) {
        views += views.empty() ? "; " : ", ";
        views += entry.name + ": ";
        if (entry.view->isAnimating()) {
            ++drawing;
            views += std::to_string(entry.frames) + " frames";
        } else {
            views += "stopped after " + std::to_string(entry.ticks) + (entry.ticks == 1 ? " tick" : " ticks");
        }
    }
    NSLog("%.1f frames per second, %.2f ms CPU per frame%s", drawing > 0 ? drawn / span / drawing : 0.0,
          drawn > 0 ? (cpu - lastCpu_) * 1000.0 / drawn : 0.0, views.c_str());
    lastTime_ = now;
    lastCpu_ = cpu;
    lastFrames_ = frames;
}
