#pragma once
// One image and its OpenGL texture name. The TGA decoder fills it; the
// texture builder uploads it and drops the pixels. Destroying a record frees
// its pixels and deletes its texture name.
#include <cstdint>

struct Texture {
    Texture() = default;
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    uint8_t* pixels = nullptr;  // from malloc: RGB(A) bytes in stored row order, or null
    uint32_t bitsPerPixel = 0;  // 24 or 32
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t glName = 0;        // 0 when none
    uint32_t format = 0;        // GL_RGB or GL_RGBA; nothing reads it
};
