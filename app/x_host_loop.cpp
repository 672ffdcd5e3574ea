#include "app/x_host_loop.h"

#include <csignal>

#include "app/frame_rate_report.h"
#include "app/saver_views.h"
#include "platform/log.h"
#include "platform/run_loop.h"

namespace {

volatile std::sig_atomic_t gTerminate = 0;

void OnTerminate(int) { gTerminate = 1; }

}  // namespace

void CatchTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the loop's wait returns at once.
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

XHostLoop::~XHostLoop() {
    engine_.stopAnimation();
    views_.clear();
    windows_.clear();
}

bool XHostLoop::addView(std::unique_ptr<X11Window> window, const CommandLine& line, const std::string& name) {
    std::unique_ptr<Korvel3DSSView> view = MakeSaverView(*window, line);
    if (!view) {
        NSLog("could not make the saver's view for %s", name.c_str());
        return false;
    }
    window->setContentView(view.get());
    engine_.add(view.get(), name);
    windows_.push_back(std::move(window));
    views_.push_back(std::move(view));
    return true;
}

int XHostLoop::run(const EndsOn& endsOn, bool showFrameRate) {
    std::unique_ptr<FrameRateReport> report;
    if (showFrameRate) report = std::make_unique<FrameRateReport>(engine_);
    engine_.startAnimation();
    bool ended = false;
    while (!ended && !gTerminate) {
        server_.dispatchEvents();
        for (auto& window : windows_)
            for (const WindowEvent& event : window->takeEvents())
                if (event.kind == WindowEvent::Kind::Destroyed || endsOn(event)) ended = true;
        if (ended) break;
        engine_.tick();
        RunLoop::current().fireDueTimers();
        if (report) report->poll();
        // Stopped views (off the main display) need no ticks; the host still waits for input.
        server_.waitForEvents(engine_.anyAnimating() ? engine_.secondsToNextTick() : 0.25);
    }
    engine_.stopAnimation();
    return 0;
}
