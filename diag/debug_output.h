#pragma once
// Developer's debug writers: each appends one line to "debug.txt" in the
// user's cache folder, opening and closing the file on every call so the
// lines survive a crash. Nothing is written when the file cannot be opened.
#include "geometry/vector3d.h"

// Build systems and other libraries often define DEBUG as a macro; it would
// turn the declaration below into nonsense.
#ifdef DEBUG
#undef DEBUG
#endif

// "%f\n"
void DEBUG(double value);
// "%s\n"; a null pointer writes nothing.
void DEBUGstr(const char* text);
// "%f,%f,%f\n"
void DEBUGp3d(VECTOR3D v);
