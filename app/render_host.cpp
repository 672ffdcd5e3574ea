#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/hosts.h"
#include "app/saver_views.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "platform/offscreen_window.h"
#include "platform/png_file.h"
#include "platform/run_loop.h"
#include "platform/saver_engine.h"
#include "platform/screens.h"
#include "scene/clock.h"

namespace {

constexpr int kDefaultWidth = 1280, kDefaultHeight = 720;

// The simulated clocks of a headless run: frames are exactly 1/F seconds apart.
double gElapsed = 0;
double gWallStart = 0;
constexpr double kMonotonicStart = 1000.0;

double SteppedMonotonic() { return kMonotonicStart + gElapsed; }
double SteppedWall() { return gWallStart + gElapsed; }
std::time_t SteppedCalendar() { return static_cast<std::time_t>(gWallStart + gElapsed); }

// The folder, created when missing; "" when it is usable, else why not.
std::string PrepareFolder(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        if (mkdir(folder.c_str(), 0777) != 0)
            return "cannot create the folder '" + folder + "': " + std::strerror(errno);
    } else if (!S_ISDIR(info.st_mode)) {
        return "'" + folder + "' is not a folder";
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0) return "cannot write to the folder '" + folder + "'";
    return "";
}

std::string FrameName(const std::string& folder, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", frame);
    return folder + "/" + name;
}

}  // namespace

int RunRender(const CommandLine& line) {
    const int width = line.width > 0 ? line.width : kDefaultWidth;
    const int height = line.height > 0 ? line.height : kDefaultHeight;
    const std::string problem = PrepareFolder(line.renderFolder);
    if (!problem.empty()) return UsageError(problem);

    // Frame times come from the stepped clock, never the real one.
    gElapsed = 0;
    SetMonotonicSource(SteppedMonotonic);
    if (line.seed) {
        // The view seeds from the wall clock's whole seconds: a wall clock that
        // starts at the seed gives exactly that seed, and the clock overlay
        // shows the same simulated time on every run.
        gWallStart = *line.seed;
        SetAbsoluteSource(SteppedWall);
        SetClockTimeSource(SteppedCalendar);
    }

    OffscreenWindow window(width, height);
    if (!window.valid()) {
        NSLog("no headless OpenGL context: %s", window.error().c_str());
        return 1;
    }
    // The frames are the main display's picture, so the main-display rule lets them animate.
    window.setScreen(MainScreen());
    std::unique_ptr<Korvel3DSSView> view = MakeSaverView(window, line);
    if (!view || !view->glView) return 1;  // the view has said why

    SaverEngine engine;
    engine.add(view.get(), "render");
    engine.startAnimation();
    const bool terminal = isatty(STDERR_FILENO);
    const double step = 1.0 / line.fps;
    for (int frame = 1; frame <= line.frames; ++frame) {
        gElapsed = frame * step;
        engine.tick(true);
        RunLoop::current().fireDueTimers();
        std::string error;
        if (!WritePNG(FrameName(line.renderFolder, frame), width, height, window.pixels(), &error)) {
            if (terminal) std::fputc('\n', stderr);
            NSLog("%s", error.c_str());
            return 1;
        }
        // On a terminal one line counts up in place; in a log, a line every tenth of the way.
        if (terminal)
            std::fprintf(stderr, "\rkorvel3d: frame %d of %d", frame, line.frames);
        else if (frame % std::max(1, line.frames / 10) == 0 || frame == line.frames)
            NSLog("frame %d of %d", frame, line.frames);
    }
    if (terminal) std::fputc('\n', stderr);
    NSLog("wrote %d frames of %dx%d to %s (%s to %s)", line.frames, width, height, line.renderFolder.c_str(),
          "frame-00001.png", FrameName("", line.frames).substr(1).c_str());
    engine.stopAnimation();
    view.reset();
    SetAbsoluteSource(nullptr);
    SetMonotonicSource(nullptr);
    SetClockTimeSource(nullptr);
    return 0;
}
