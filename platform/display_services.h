#pragma once
// The active displays of the X server, as the capability survey sees them:
// each RandR monitor is one display with an identifier, desktop bounds and a
// current mode. Without an X display there are no displays, and nothing fails.
#include <cstdint>
#include <map>
#include <string>

using DisplayID = uint32_t;

// A display's rectangle on the desktop, in pixels.
struct DisplayBounds {
    double x = 0, y = 0, width = 0, height = 0;
};

// The current mode as named numbers: "BitsPerPixel" and "RefreshRate" (Hz).
// A key the mode cannot give (a mode without a refresh rate) is absent.
using DisplayMode = std::map<std::string, double>;

// Connects the services to the named X display (nullptr: $DISPLAY), closing
// any earlier connection. False when the display cannot be opened.
bool OpenDisplayServices(const char* displayName = nullptr);
// Closes the connection. Call it before the X server goes away: a dead server
// under an open connection ends the process.
void CloseDisplayServices();

// Lists up to max active displays in the server's order (the primary first)
// and stores how many were listed. Each call takes a fresh look at the server;
// the queries below answer from that look. Connects to $DISPLAY on first use.
// Returns 0, or non-zero when the server cannot be asked.
int GetActiveDisplayList(uint32_t max, DisplayID* list, uint32_t* count);
// One bit per listed display, in list order; 0 for a display not listed.
uint32_t DisplayIDToOpenGLDisplayMask(DisplayID display);
// The display's bounds; all 0 for a display not listed.
DisplayBounds GetDisplayBounds(DisplayID display);
// The display's current mode, owned by the services and valid until the next
// GetActiveDisplayList; nullptr for a display not listed.
const DisplayMode* GetDisplayCurrentMode(DisplayID display);
