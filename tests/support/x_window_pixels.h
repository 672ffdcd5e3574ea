#pragma once
// Reading an X window's pixels back the way another client sees them.
#include <string>

struct WindowColours {
    int code = 0;        // green glyph pixels: the code colour, shaded or blended
    int background = 0;  // black, the default background colour
    int total = 0;
};

// Counts the window's pixels by kind (XGetImage); false when it cannot be read.
bool CountWindowColours(void* display, unsigned long window, WindowColours* colours);
// The first top-level window with this name (WM_NAME), or 0.
unsigned long FindWindowNamed(void* display, const std::string& name);
