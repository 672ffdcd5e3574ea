#include "resources/tga_loader.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

#include "platform/alert.h"

TGAHeader tgaheader;
TGA tga;
const uint8_t uTGAcompare[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const uint8_t cTGAcompare[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

void MessageBox(void* /*owner*/, const char* text, const char* title, int /*style*/) {
    ShowCriticalAlert(title, text);
}

namespace {

void Alert(const char* text) { MessageBox(nullptr, text, "ERROR", 0); }

// Both families decode alike; only how bytes are read differs.
struct StreamSource {
    std::ifstream* stream;
    bool Read(void* into, uint32_t count) {
        stream->read(static_cast<char*>(into), count);
        return stream->gcount() == static_cast<std::streamsize>(count);
    }
};

struct FileSource {
    FILE* file;
    bool Read(void* into, uint32_t count) { return std::fread(into, 1, count, file) == count; }
};

void DropPixels(Texture* texture) {
    std::free(texture->pixels);
    texture->pixels = nullptr;
}

// Reads the 6 info bytes, fills the size fields and checks them.
template <class Source>
bool ReadInfo(Texture* texture, Source& source) {
    if (!source.Read(tga.header, sizeof tga.header)) {
        Alert("Could not read info header");
        return false;
    }
    texture->width = tga.header[0] + 256u * tga.header[1];
    texture->height = tga.header[2] + 256u * tga.header[3];
    texture->bitsPerPixel = tga.header[4];
    tga.width = texture->width;
    tga.height = texture->height;
    tga.bpp = texture->bitsPerPixel;

    // 65535 x 65535 x 4 bytes does not fit in 32 bits: size in 64 bits and
    // refuse what the 32-bit size cannot hold, or the buffer would be short.
    const uint64_t size = uint64_t(tga.bpp / 8) * tga.width * tga.height;
    if (texture->width == 0 || texture->height == 0 ||
        (texture->bitsPerPixel != 24 && texture->bitsPerPixel != 32) || size > UINT32_MAX) {
        Alert("Invalid texture information");
        return false;
    }
    return true;
}

// Bytes per pixel, image size and the pixel buffer, for both body decoders.
bool AllocatePixels(Texture* texture) {
    texture->format = tga.bpp == 24 ? GL_RGB : GL_RGBA;
    tga.bytesPerPixel = tga.bpp / 8;
    tga.imageSize = tga.bytesPerPixel * tga.width * tga.height;
    DropPixels(texture);
    texture->pixels = static_cast<uint8_t*>(std::malloc(tga.imageSize));
    if (!texture->pixels) {
        Alert("Could not allocate memory for image");
        return false;
    }
    return true;
}

template <class Source>
bool DecodeUncompressed(Texture* texture, Source& source) {
    if (!ReadInfo(texture, source) || !AllocatePixels(texture)) return false;
    if (!source.Read(texture->pixels, tga.imageSize)) {
        Alert("Could not read image data");
        DropPixels(texture);
        return false;
    }
    for (uint32_t at = 0; at < tga.imageSize; at += tga.bytesPerPixel) {
        uint8_t blue = texture->pixels[at];
        texture->pixels[at] = texture->pixels[at + 2];
        texture->pixels[at + 2] = blue;
    }
    return true;
}

template <class Source>
bool DecodeCompressed(Texture* texture, Source& source) {
    if (!ReadInfo(texture, source) || !AllocatePixels(texture)) return false;
    const uint32_t total = tga.width * tga.height;
    const uint32_t bytes = tga.bytesPerPixel;
    uint32_t count = 0;
    uint32_t at = 0;
    uint8_t colour[4];

    auto fail = [texture](const char* text) {
        Alert(text);
        DropPixels(texture);
        return false;
    };
    auto store = [&]() {
        texture->pixels[at] = colour[2];
        texture->pixels[at + 1] = colour[1];
        texture->pixels[at + 2] = colour[0];
        if (bytes == 4) texture->pixels[at + 3] = colour[3];
        at += bytes;
        ++count;
    };

    for (;;) {
        uint8_t h;
        if (!source.Read(&h, 1)) return fail("Could not read RLE header");
        if (h < 128) {
            for (int i = 0; i < h + 1; ++i) {
                if (!source.Read(colour, bytes)) return fail("Could not read image data");
                if (count == total) return fail("Too many pixels read");
                store();
            }
        } else {
            if (!source.Read(colour, bytes)) return fail("Could not read from file");
            for (int i = 0; i < h - 127; ++i) {
                if (count == total) return fail("Too many pixels read");
                store();
            }
        }
        if (count == total) return true;
    }
}

// 0: uncompressed, 1: run-length, -1: refused.
int Classify() {
    if (std::memcmp(tgaheader.Header, uTGAcompare, 12) == 0) return 0;
    if (std::memcmp(tgaheader.Header, cTGAcompare, 12) == 0) return 1;
    MessageBox(nullptr, "TGA file be type 2 or type 10 ", "Invalid Image", 0);
    return -1;
}

}  // namespace

bool LoadTGA2(Texture* texture, std::ifstream* stream) {
    if (stream == nullptr || !stream->is_open()) {
        Alert("Could not open texture file");
        return false;
    }
    StreamSource source{stream};
    if (!source.Read(tgaheader.Header, 12)) {
        Alert("Could not read file header");
        return false;
    }
    switch (Classify()) {
        case 0: return LoadUncompressedTGA2(texture, stream);
        case 1: return LoadCompressedTGA2(texture, stream);
        default: return false;
    }
}

bool LoadUncompressedTGA2(Texture* texture, std::ifstream* stream) {
    StreamSource source{stream};
    return DecodeUncompressed(texture, source);
}

bool LoadCompressedTGA2(Texture* texture, std::ifstream* stream) {
    StreamSource source{stream};
    return DecodeCompressed(texture, source);
}

bool LoadTGA(Texture* texture, const char* path) {
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        Alert("Could not open texture file");
        return false;
    }
    FileSource source{file};
    if (!source.Read(tgaheader.Header, 12)) {
        Alert("Could not read file header");
        std::fclose(file);
        return false;
    }
    switch (Classify()) {
        case 0: return LoadUncompressedTGA(texture, path, file);
        case 1: return LoadCompressedTGA(texture, path, file);
        default: std::fclose(file); return false;
    }
}

bool LoadUncompressedTGA(Texture* texture, const char* /*path*/, FILE* file) {
    FileSource source{file};
    const bool loaded = DecodeUncompressed(texture, source);
    std::fclose(file);
    return loaded;
}

bool LoadCompressedTGA(Texture* texture, const char* /*path*/, FILE* file) {
    FileSource source{file};
    const bool loaded = DecodeCompressed(texture, source);
    std::fclose(file);
    return loaded;
}
