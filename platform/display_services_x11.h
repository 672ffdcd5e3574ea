#pragma once
// Inside the platform layer only: the X connection and the last look at the
// active displays, shared by the device list, the renderer information and
// the per-display OpenGL context.
#include <X11/Xlib.h>

#include <vector>

#include "platform/display_services.h"

struct ActiveDisplay {
    DisplayID id = 0;
    int screen = 0;
    DisplayBounds bounds;
    DisplayMode mode;
    unsigned long output = 0;  // the monitor's first RandR output, 0 when it has none
};

// nullptr when no X display is connected.
Display* DisplayServicesConnection();
// The displays of the last GetActiveDisplayList, in list order.
const std::vector<ActiveDisplay>& ActiveDisplays();
// The listed display that a mask's lowest bit names, or nullptr.
const ActiveDisplay* ActiveDisplayForMask(uint32_t displayMask);

// Turns X protocol errors into a failure result for the calls between its
// construction and failed(), instead of Xlib's default of ending the process.
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;
    // Waits for the server's answers so far; true when any of them was an error.
    bool failed();

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};
