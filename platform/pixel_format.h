#pragma once
// A pixel format from a list of attribute words, ended by 0.
#include <cstdint>
#include <memory>

enum : uint32_t {
    NSOpenGLPFAAllRenderers = 1,
    NSOpenGLPFADoubleBuffer = 5,
    NSOpenGLPFAColorSize = 8,
    NSOpenGLPFADepthSize = 12,
    NSOpenGLPFAAccelerated = 73,
    NSOpenGLPFAWindow = 80,
};

class PixelFormat {
public:
    // Nothing for an attribute this platform does not know, or a size without its value.
    static std::unique_ptr<PixelFormat> initWithAttributes(const uint32_t* attributes);

    bool window = false;
    bool allRenderers = false;
    bool accelerated = false;
    bool doubleBuffer = false;
    int colorSize = 0;
    int depthSize = 0;
};
