#pragma once
// Screens: the monitors of the X display (DisplayScreen, apart from Xlib's own Screen type), as RandR lists them. A screen's
// number identifies its display; the main screen is the primary monitor.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/rect.h"

struct DisplayScreen {
    int32_t number = 0;  // identifies the display; never 0 for a real monitor
    std::string name;    // the RandR monitor's name
    Rect frame;          // on the X screen, pixels, origin top left
    bool primary = false;
};

// The monitors of the default X display ($DISPLAY); empty without one.
std::vector<DisplayScreen> Screens();
// The primary monitor; when none is marked primary, the monitor at the
// origin (else the first one listed). Nothing without a display.
std::optional<DisplayScreen> MainScreen();
// The monitor a rectangle of the X screen overlaps most; nothing when it
// overlaps none.
std::optional<DisplayScreen> ScreenHolding(const Rect& area);
