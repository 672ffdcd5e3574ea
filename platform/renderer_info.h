#pragma once
// The OpenGL renderers that can drive a display, with what the X server's GLX
// says of each (GLX_MESA_query_renderer); 0 where it says nothing.
#include <cstdint>
#include <vector>

struct RendererDescription {
    bool accelerated = false;
    int32_t rendererID = 0;     // PCI vendor id in the high 16 bits, device id in the low 16
    bool fullScreen = false;    // no X renderer reports a full-screen-only mode
    int32_t videoMemory = 0;    // megabytes
    int32_t textureMemory = 0;  // megabytes; not reported on X
};

// The renderers for the display that a mask names, in index order.
// False when there is no such display or its screen offers no GLX.
bool QueryRendererInfo(uint32_t displayMask, std::vector<RendererDescription>* renderers);
