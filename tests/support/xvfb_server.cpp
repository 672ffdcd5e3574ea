#include "tests/support/xvfb_server.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

Display* Dpy(void* display) { return static_cast<Display*>(display); }

// Reads the display number Xvfb writes to -displayfd once it listens.
bool ReadDisplayNumber(int fd, std::string* number) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got <= 0) return false;  // the server exited before listening
        if (c == '\n') return !number->empty();
        number->push_back(c);
    }
    return false;
}

bool gXError = false;

int NoteXError(Display*, XErrorEvent*) {
    gXError = true;
    return 0;
}

// Runs the requests and waits for the server's answer; false when it refused
// them, where Xlib's default handler would end the test program.
template <typename Requests>
bool Refused(Display* dpy, Requests requests) {
    XSync(dpy, False);
    gXError = false;
    auto previous = XSetErrorHandler(NoteXError);
    requests();
    XSync(dpy, False);
    XSetErrorHandler(previous);
    return gXError;
}

bool HasMonitor(Display* dpy, Window root, Atom name) {
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(dpy, root, False, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) found = monitors[i].name == name;
    if (monitors) XRRFreeMonitors(monitors);
    return found;
}

RROutput ScreenOutput(Display* dpy, Window root) {
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(dpy, root);
    if (!resources) return None;
    RROutput output = resources->noutput > 0 ? resources->outputs[0] : None;
    XRRFreeScreenResources(resources);
    return output;
}

}  // namespace

XvfbServer::~XvfbServer() { stop(); }

bool XvfbServer::fail(const std::string& why) {
    error_ = why;
    stop();
    return false;
}

bool XvfbServer::start(int width, int height, int depth) {
    stop();
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return fail("pipe failed");
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
    const std::string fd = std::to_string(pipeFds[1]);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) return fail("fork failed");
    if (pid_ == 0) {
        // The server must not outlive a test that crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        close(pipeFds[0]);
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-noreset", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string number;
    const bool listening = ReadDisplayNumber(pipeFds[0], &number);
    close(pipeFds[0]);
    if (!listening) return fail("Xvfb did not start (is the xvfb package installed?)");
    name_ = ":" + number;
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) return fail("cannot connect to Xvfb on " + name_);
    return true;
}

void XvfbServer::stop() {
    if (display_) XCloseDisplay(Dpy(display_));
    display_ = nullptr;
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++i) usleep(20000);
        if (waitpid(pid_, &status, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
    }
    pid_ = -1;
    name_.clear();
}

bool XvfbServer::setMonitor(const XvfbMonitor& monitor) {
    Display* dpy = Dpy(display_);
    if (!dpy) return false;
    const Window root = DefaultRootWindow(dpy);
    RROutput output = monitor.holdsOutput ? ScreenOutput(dpy, root) : None;
    XRRMonitorInfo* info = XRRAllocateMonitor(dpy, output != None ? 1 : 0);
    if (!info) return false;
    info->name = XInternAtom(dpy, monitor.name.c_str(), False);
    info->primary = monitor.primary;
    info->x = monitor.x;
    info->y = monitor.y;
    info->width = monitor.width;
    info->height = monitor.height;
    // Physical size at 96 pixels per inch.
    info->mwidth = monitor.width * 254 / 960;
    info->mheight = monitor.height * 254 / 960;
    if (output != None) info->outputs[0] = output;
    // The server refuses to redefine a monitor that holds an output in place,
    // so an existing one is deleted first, in the same batch of requests.
    const bool exists = HasMonitor(dpy, root, info->name);
    const bool refused = Refused(dpy, [&] {
        if (exists) XRRDeleteMonitor(dpy, root, info->name);
        XRRSetMonitor(dpy, root, info);
    });
    XRRFreeMonitors(info);
    return !refused;
}

bool XvfbServer::deleteMonitor(const std::string& name) {
    Display* dpy = Dpy(display_);
    if (!dpy) return false;
    const Atom atom = XInternAtom(dpy, name.c_str(), False);
    return !Refused(dpy, [&] { XRRDeleteMonitor(dpy, DefaultRootWindow(dpy), atom); });
}

int XvfbServer::monitorCount() {
    Display* dpy = Dpy(display_);
    if (!dpy) return 0;
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(dpy, DefaultRootWindow(dpy), True, &count);
    if (monitors) XRRFreeMonitors(monitors);
    return count;
}
