#include "resources/texture_set.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "resources/res_file.h"
#include "resources/tga_loader.h"

namespace {

uint8_t AlphaFor(int alphaMode, const uint8_t* rgb, const uint8_t* key) {
    switch (alphaMode) {
        case 1: return (rgb[0] == key[0] && rgb[1] == key[1] && rgb[2] == key[2]) ? 0 : 255;
        case 2: return std::max({rgb[0], rgb[1], rgb[2]});
        default: return 255;
    }
}

}  // namespace

bool BuildTexture(Texture* texture, int alphaMode) {
    if (texture == nullptr || texture->pixels == nullptr) return false;  // nothing decoded

    const uint8_t key[3] = {texture->pixels[0], texture->pixels[1], texture->pixels[2]};

    GLuint name = 0;
    glGenTextures(1, &name);
    texture->glName = name;
    glBindTexture(GL_TEXTURE_2D, name);

    const size_t count = size_t(texture->width) * texture->height;
    uint8_t* rgba = static_cast<uint8_t*>(std::malloc(count * 4));
    if (!rgba) return false;

    // A 32-bit image is read 4 bytes a pixel; its alpha, like a 24-bit
    // image's, comes from the alpha mode.
    const size_t stride = texture->bitsPerPixel == 32 ? 4 : 3;
    for (size_t p = 0; p < count; ++p) {
        const uint8_t* source = texture->pixels + stride * p;
        uint8_t* target = rgba + 4 * p;
        target[0] = source[0];
        target[1] = source[1];
        target[2] = source[2];
        target[3] = AlphaFor(alphaMode, source, key);
    }

    glTexImage2D(GL_TEXTURE_2D, 0, 4, GLsizei(texture->width), GLsizei(texture->height), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    std::free(texture->pixels);
    texture->pixels = nullptr;
    std::free(rgba);
    return true;
}

bool LoadTexturesFromDataFile(const char* path, Texture** array, int32_t* count) {
    RESFILE reader;
    if (!reader.Open(path)) return false;  // the reader closes as it goes out of scope

    // Open has checked that the directory fits in a file under 2^31 bytes,
    // so the count is far below INT32_MAX.
    *count = static_cast<int32_t>(reader.HEADER.NUMLUMPS);

    const int32_t slots = std::max(*count, kMinTextureSlots);
    Texture* textures = new (std::nothrow) Texture[slots];
    if (!textures) {
        reader.Close();
        return false;
    }
    delete[] *array;
    *array = textures;

    for (int32_t i = 0; i < *count; ++i) {
        const RESLUMP& lump = reader.LUMPS[i];
        if (lump.LUMPTYPE != 1) continue;
        if (!reader.SeekLump(i) || !LoadTGA2(&textures[i], &reader.STREAM) ||
            !BuildTexture(&textures[i], lump.ALPHAMODE)) {
            reader.Close();
            return false;
        }
    }
    reader.Close();
    return true;
}
