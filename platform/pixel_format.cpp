#include "platform/pixel_format.h"

std::unique_ptr<PixelFormat> PixelFormat::initWithAttributes(const uint32_t* attributes) {
    auto format = std::make_unique<PixelFormat>();
    for (const uint32_t* a = attributes; a && *a; ++a) {
        switch (*a) {
            case NSOpenGLPFAWindow: format->window = true; break;
            case NSOpenGLPFAAllRenderers: format->allRenderers = true; break;
            case NSOpenGLPFAAccelerated: format->accelerated = true; break;
            case NSOpenGLPFADoubleBuffer: format->doubleBuffer = true; break;
            case NSOpenGLPFAColorSize:
                if (!a[1]) return nullptr;
                format->colorSize = static_cast<int>(*++a);
                break;
            case NSOpenGLPFADepthSize:
                if (!a[1]) return nullptr;
                format->depthSize = static_cast<int>(*++a);
                break;
            default: return nullptr;
        }
    }
    return format;
}
