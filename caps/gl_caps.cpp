#include "caps/gl_caps.h"

#include <GL/gl.h>

#include <new>

#include "caps/gl_caps_rules.h"
#include "platform/display_gl_context.h"
#include "platform/renderer_info.h"

#ifndef GL_MAX_RECTANGLE_TEXTURE_SIZE_EXT
#define GL_MAX_RECTANGLE_TEXTURE_SIZE_EXT 0x84F8
#endif

GLCaps* gDisplayCaps = nullptr;
uint32_t gNumDisplays = 0;

namespace {

constexpr uint32_t kMaxListedDisplays = 32;

int32_t GLInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

const char* GLText(GLenum name) { return reinterpret_cast<const char*>(glGetString(name)); }

// The first accelerated renderer for a mask; false when there is none or no information.
bool FirstAcceleratedRenderer(uint32_t displayMask, RendererDescription* found) {
    std::vector<RendererDescription> renderers;
    if (!QueryRendererInfo(displayMask, &renderers)) return false;
    for (const RendererDescription& renderer : renderers) {
        if (renderer.accelerated) {
            *found = renderer;
            return true;
        }
    }
    return false;
}

void FillDisplayGLStrings(GLCaps* caps) {
    SavedGLContext saved;
    DisplayGLContext temporary;
    if (temporary.create(caps->openGLDisplayMask) && temporary.makeCurrent()) ReadCurrentContextCaps(caps);
    // The temporary context goes first, then the caller's is current again.
}

}  // namespace

void ReadCurrentContextCaps(GLCaps* caps) {
    CopyGLString(caps->rendererString, GLText(GL_RENDERER));
    CopyGLString(caps->vendorString, GLText(GL_VENDOR));
    CopyGLString(caps->versionString, GLText(GL_VERSION));
    caps->versionNumber = GLVersionNumber(caps->versionString);
    SetGLExtensionFlags(caps, GLText(GL_EXTENSIONS));
    ReadGLLimits(caps);
}

void ReadGLLimits(GLCaps* caps) {
    caps->maxTextureUnits = GLInteger(GL_MAX_TEXTURE_UNITS);
    caps->maxTextureSize = GLInteger(GL_MAX_TEXTURE_SIZE);
    caps->max3DTextureSize = GLInteger(GL_MAX_3D_TEXTURE_SIZE);
    caps->maxCubeMapTextureSize = GLInteger(GL_MAX_CUBE_MAP_TEXTURE_SIZE);
    caps->maxRectangleTextureSize =
        caps->hasEXT_texture_rectangle ? GLInteger(GL_MAX_RECTANGLE_TEXTURE_SIZE_EXT) : 0;
}

void getCurrentCaps() {
    if (gDisplayCaps && HaveOpenGLCapsChanged(gDisplayCaps, gNumDisplays)) {
        delete[] gDisplayCaps;
        gDisplayCaps = nullptr;
    }
    if (gDisplayCaps) return;
    CheckOpenGLCaps(0, nullptr, &gNumDisplays);
    gDisplayCaps = new (std::nothrow) GLCaps[gNumDisplays]();
    CheckOpenGLCaps(gNumDisplays, gDisplayCaps, &gNumDisplays);
}

int CheckOpenGLCaps(uint32_t maxDisplays, GLCaps* table, uint32_t* numDisplays) {
    DisplayID displays[kMaxListedDisplays];
    uint32_t count = 0;
    *numDisplays = 0;
    if (maxDisplays == 0) {
        if (GetActiveDisplayList(kMaxListedDisplays, displays, &count) == 0) *numDisplays = count;
        return 0;
    }
    if (!table) return 0;
    const uint32_t limit = maxDisplays < kMaxListedDisplays ? maxDisplays : kMaxListedDisplays;
    if (const int error = GetActiveDisplayList(limit, displays, &count)) return error;
    *numDisplays = count;
    if (count == 0) return 0;

    for (uint32_t i = 0; i < count; ++i) table[i] = GLCaps{};
    for (uint32_t i = 0; i < count; ++i) {
        GLCaps& caps = table[i];
        caps.displayID = displays[i];
        caps.openGLDisplayMask = DisplayIDToOpenGLDisplayMask(displays[i]);

        const DisplayBounds bounds = GetDisplayBounds(displays[i]);
        const DisplayMode* mode = GetDisplayCurrentMode(displays[i]);
        caps.width = static_cast<int32_t>(bounds.width);
        caps.height = static_cast<int32_t>(bounds.height);
        caps.originX = static_cast<int32_t>(bounds.x);
        caps.originY = static_cast<int32_t>(bounds.y);
        caps.bitsPerPixel = ModeBitsPerPixel(mode);
        caps.refreshRate = ModeRefreshRate(mode);

        for (GDHandle device = GetDeviceList(); device; device = GetNextDevice(device)) {
            if (!TestDeviceAttribute(device, screenDevice) || !TestDeviceAttribute(device, screenActive)) continue;
            const DeviceRect rect = GetDeviceRect(device);
            if (rect.top == caps.originY && rect.left == caps.originX && rect.bottom - rect.top == caps.height &&
                rect.right - rect.left == caps.width) {
                caps.device = device;
                break;
            }
        }
        // A display that no screen device stands for ends the survey; later records stay zero.
        if (!caps.device) return 0;
        if (GetDisplayIDByDevice(caps.device, &caps.dmDisplayID) != 0) caps.dmDisplayID = 0;

        RendererDescription renderer;
        if (FirstAcceleratedRenderer(caps.openGLDisplayMask, &renderer)) {
            caps.rendererID = renderer.rendererID;
            caps.fullScreen = renderer.fullScreen;
            caps.videoMemory = renderer.videoMemory;
            caps.textureMemory = renderer.textureMemory;
        }
        FillDisplayGLStrings(&caps);
    }
    return 0;
}

bool HaveOpenGLCapsChanged(const GLCaps* table, uint32_t count) {
    if (!table) return true;
    DisplayID displays[kMaxListedDisplays];
    uint32_t listed = 0;
    if (GetActiveDisplayList(kMaxListedDisplays, displays, &listed) != 0) return true;
    if (listed != count) return true;
    for (uint32_t i = 0; i < count; ++i) {
        const GLCaps& caps = table[i];
        if (displays[i] != caps.displayID) return true;
        if (DisplayIDToOpenGLDisplayMask(displays[i]) != caps.openGLDisplayMask) return true;
        const DisplayBounds bounds = GetDisplayBounds(displays[i]);
        if (static_cast<int32_t>(bounds.width) != caps.width || static_cast<int32_t>(bounds.height) != caps.height ||
            static_cast<int32_t>(bounds.x) != caps.originX || static_cast<int32_t>(bounds.y) != caps.originY)
            return true;
        const DisplayMode* mode = GetDisplayCurrentMode(displays[i]);
        if (ModeBitsPerPixel(mode) != caps.bitsPerPixel) return true;
        if (ModeRefreshRate(mode) != caps.refreshRate) return true;
        RendererDescription renderer;
        if (FirstAcceleratedRenderer(caps.openGLDisplayMask, &renderer) &&
            (renderer.rendererID != caps.rendererID || renderer.videoMemory != caps.videoMemory))
            return true;
    }
    return false;
}
