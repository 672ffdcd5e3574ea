#include "app/gl_info.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "caps/gl_caps.h"
#include "caps/gl_caps_rules.h"

namespace {

constexpr int kLineWidth = 78;
constexpr const char* kIndent = "               ";

void PrintFlags(FILE* out, const GLCaps& caps) {
    int set = 0;
    for (int n = 1; n <= kNumGLExtensionFlags; ++n) set += GLCapsFlag(caps, n);
    std::fprintf(out, "  Extensions:  %d of %d flags set\n", set, kNumGLExtensionFlags);
    std::string line;
    for (int n = 1; n <= kNumGLExtensionFlags; ++n) {
        if (!GLCapsFlag(caps, n)) continue;
        const std::string name = GLCapsFlagExtension(n);
        if (!line.empty() && std::strlen(kIndent) + line.size() + 1 + name.size() > kLineWidth) {
            std::fprintf(out, "%s%s\n", kIndent, line.c_str());
            line.clear();
        }
        line += (line.empty() ? "" : " ") + name;
    }
    if (!line.empty()) std::fprintf(out, "%s%s\n", kIndent, line.c_str());
}

void PrintDisplay(FILE* out, const GLCaps& caps, uint32_t index, uint32_t count) {
    std::fprintf(out, "Display %u of %u (id 0x%x, OpenGL display mask 0x%x)\n", index + 1, count,
                 caps.displayID, caps.openGLDisplayMask);
    std::fprintf(out, "  Geometry:    %d x %d at (%d, %d)\n", caps.width, caps.height, caps.originX, caps.originY);
    if (caps.refreshRate > 0)
        std::fprintf(out, "  Mode:        %d bits per pixel, %d Hz\n", caps.bitsPerPixel, caps.refreshRate);
    else
        std::fprintf(out, "  Mode:        %d bits per pixel, refresh rate not reported\n", caps.bitsPerPixel);
    if (!caps.device) {
        std::fprintf(out, "  Device:      none matches this display; the survey stopped here\n\n");
        return;
    }
    if (caps.dmDisplayID)
        std::fprintf(out, "  Device:      %u, output 0x%x\n", caps.device, caps.dmDisplayID);
    else
        std::fprintf(out, "  Device:      %u, no output\n", caps.device);
    if (caps.rendererID || caps.videoMemory)
        std::fprintf(out, "  Accelerated: renderer 0x%08x, %d MB video memory, %d MB texture memory%s\n",
                     static_cast<unsigned>(caps.rendererID), caps.videoMemory, caps.textureMemory,
                     caps.fullScreen ? ", full screen" : "");
    else
        std::fprintf(out, "  Accelerated: no hardware-accelerated renderer\n");
    if (!caps.rendererString[0] && !caps.versionString[0]) {
        std::fprintf(out, "  OpenGL:      no context could be made on this display\n\n");
        return;
    }
    std::fprintf(out, "  Renderer:    %s\n", caps.rendererString);
    std::fprintf(out, "  Vendor:      %s\n", caps.vendorString);
    std::fprintf(out, "  Version:     %s (read as 0x%03x)\n", caps.versionString, caps.versionNumber);
    std::fprintf(out, "  Limits:      %d texture units; largest texture %d, 3-D %d, cube map %d, rectangle %d\n",
                 caps.maxTextureUnits, caps.maxTextureSize, caps.max3DTextureSize, caps.maxCubeMapTextureSize,
                 caps.maxRectangleTextureSize);
    PrintFlags(out, caps);
    std::fprintf(out, "\n");
}

}  // namespace

void PrintGLInfo(FILE* out) {
    getCurrentCaps();
    const char* display = std::getenv("DISPLAY");
    if (!gDisplayCaps || gNumDisplays == 0) {
        if (display && *display)
            std::fprintf(out, "No active displays found on X display %s.\n", display);
        else
            std::fprintf(out, "No active displays: DISPLAY is not set, so there is no X display to survey.\n");
        return;
    }
    std::fprintf(out, "Korvel 3D %s: OpenGL capabilities of %u display%s on X display %s\n\n", KORVEL3D_VERSION,
                 gNumDisplays, gNumDisplays == 1 ? "" : "s", display ? display : "");
    for (uint32_t i = 0; i < gNumDisplays; ++i) PrintDisplay(out, gDisplayCaps[i], i, gNumDisplays);
}
