#pragma once
// The display capability table: one record per active display with its place
// on the desktop, its mode, the first accelerated renderer that can drive it,
// that renderer's OpenGL strings, texture limits and extension flags. Kept
// current by getCurrentCaps; rebuilt only when the displays have changed.
#include <cstdint>

#include "caps/gl_extension_list.h"
#include "platform/display_services.h"
#include "platform/graphics_devices.h"

struct GLCaps {
    uint32_t displayID;
    uint32_t dmDisplayID;  // 0 when the device has none
    GDHandle device;
    uint32_t openGLDisplayMask;
    int32_t width;
    int32_t height;
    int32_t originX;
    int32_t originY;
    int16_t bitsPerPixel;
    int16_t refreshRate;  // Hz, rounded; 0 when the mode has none
    int32_t videoMemory;    // megabytes, first accelerated renderer
    int32_t textureMemory;  // megabytes, likewise
    int32_t rendererID;
    char rendererString[256];
    char vendorString[256];
    char versionString[256];
    bool fullScreen;
    int32_t maxTextureUnits;
    int32_t maxTextureSize;
    int32_t max3DTextureSize;
    int32_t maxCubeMapTextureSize;
    int32_t maxRectangleTextureSize;  // 0 unless hasEXT_texture_rectangle
    uint16_t versionNumber;           // "1.4.2" is 0x142
#define KORVEL_GL_FLAG_FIELD(name, alternative, version) bool has##name;
    KORVEL_GL_EXTENSION_FLAGS(KORVEL_GL_FLAG_FIELD)
#undef KORVEL_GL_FLAG_FIELD
};

// The table: one record per display, owned here; null until the first survey
// and after a detected change.
extern GLCaps* gDisplayCaps;
extern uint32_t gNumDisplays;

// Brings gDisplayCaps and gNumDisplays up to date, surveying again only when
// HaveOpenGLCapsChanged says the table is out of date.
void getCurrentCaps();
// True when the table no longer describes the active displays. Creates no context.
bool HaveOpenGLCapsChanged(const GLCaps* table, uint32_t count);
// With maxDisplays 0, counts the active displays (at most 32) into *numDisplays;
// otherwise fills up to maxDisplays records of table. Returns 0, or the error
// of the display list.
int CheckOpenGLCaps(uint32_t maxDisplays, GLCaps* table, uint32_t* numDisplays);

// A mode's number under key, read as a whole number or as a double; -1 when the
// key is absent or the number is not a whole number that fits.
int32_t _getDictLong(const DisplayMode* mode, const char* key);
double _getDictDouble(const DisplayMode* mode, const char* key);

// Fills the strings, version number, limits and flags of caps from the current
// OpenGL context (the survey's temporary one).
void ReadCurrentContextCaps(GLCaps* caps);
// The four texture limits, and the rectangle limit only when caps already has
// the rectangle flag (0 otherwise), from the current context.
void ReadGLLimits(GLCaps* caps);
