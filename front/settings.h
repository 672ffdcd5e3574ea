#pragma once
// Every option the user can change, except the view's own main-display flag.
#include <cstdint>

#include "front/colour4d.h"

struct SETTINGS {
    uint32_t MODE = 0;  // 0 three-dimensional, 1 flat, 2 or more: chosen at random at each set-up
    bool NOT3D = false;  // never stored, set or read
    int32_t GLYPHSIZE = 0;  // half a glyph's edge, in hundredths of a world unit
    int32_t TOT_NUM_LINES = 0;
    bool FORWARDMOTION = false;
    bool SIDEWAYSMOTION = false;
    int32_t FALLSPEED = 0;
    int32_t FORWARDSPEED = 0;
    colour4d Col1;  // the glyphs of a line
    colour4d Col2;  // the leading glyph and the clock
    colour4d BGCol;
    bool SHADED2D = false;
    bool RANDFORWARDSPEED = false;
    bool SHOWCLOCK = false;
    bool CLOCK12HR = false;
    uint32_t CLOCKSIZE = 0;
    bool CAMROTATION = false;
};

// Field by field, colours by all four components.
bool operator==(const SETTINGS& a, const SETTINGS& b);
inline bool operator!=(const SETTINGS& a, const SETTINGS& b) { return !(a == b); }
