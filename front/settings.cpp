#include "front/settings.h"

namespace {

bool SameColour(const colour4d& a, const colour4d& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

}  // namespace

bool operator==(const SETTINGS& a, const SETTINGS& b) {
    return a.MODE == b.MODE && a.NOT3D == b.NOT3D && a.GLYPHSIZE == b.GLYPHSIZE &&
           a.TOT_NUM_LINES == b.TOT_NUM_LINES && a.FORWARDMOTION == b.FORWARDMOTION &&
           a.SIDEWAYSMOTION == b.SIDEWAYSMOTION && a.FALLSPEED == b.FALLSPEED && a.FORWARDSPEED == b.FORWARDSPEED &&
           SameColour(a.Col1, b.Col1) && SameColour(a.Col2, b.Col2) && SameColour(a.BGCol, b.BGCol) &&
           a.SHADED2D == b.SHADED2D && a.RANDFORWARDSPEED == b.RANDFORWARDSPEED && a.SHOWCLOCK == b.SHOWCLOCK &&
           a.CLOCK12HR == b.CLOCK12HR && a.CLOCKSIZE == b.CLOCKSIZE && a.CAMROTATION == b.CAMROTATION;
}
