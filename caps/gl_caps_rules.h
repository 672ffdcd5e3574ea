#pragma once
// The pure rules of the capability survey: the version number, the extension
// flags, the bounded string copy and the mode fields. No display or context.
#include <cstdint>

#include "caps/gl_caps.h"

constexpr int kNumGLExtensionFlags = 89;

// "1.4.2 ..." is 0x142, "2.0" is 0x200, "1.21" is 0x121: the first three
// digits, points skipped, as 256s, 16s and units; 0 unless the string starts
// with a digit or a point.
uint16_t GLVersionNumber(const char* version);

// Sets the 89 flags from the extension string (null reads as empty) and
// caps->versionNumber.
void SetGLExtensionFlags(GLCaps* caps, const char* extensions);

// Flag n, 1 to 89 in record order, and its extension string ("GL_EXT_abgr").
bool GLCapsFlag(const GLCaps& caps, int n);
const char* GLCapsFlagExtension(int n);

// Copies at most 255 characters and always terminates; null copies as empty.
void CopyGLString(char (&to)[256], const char* from);

// The record's bitsPerPixel and refreshRate from a mode: "BitsPerPixel" as 16
// bits; "RefreshRate" + 0.5 truncated, as 16 bits (a missing rate gives 0).
int16_t ModeBitsPerPixel(const DisplayMode* mode);
int16_t ModeRefreshRate(const DisplayMode* mode);
