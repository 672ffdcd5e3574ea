#pragma once
// TGALoader: decodes true-colour TGA images (24 or 32 bits, uncompressed type 2
// or run-length type 10, no ID field, no colour map, origin 0) into a Texture,
// turning blue-green-red into red-green-blue. Every failure raises a modal
// alert and returns false. Two families: from the archive's open stream (the
// one the module uses) and from a file path.
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "resources/texture.h"

// The 12 header bytes just read.
struct TGAHeader {
    uint8_t Header[12];
};

// The 6 bytes after them (width, height, depth, descriptor) and what follows from them.
struct TGA {
    uint8_t header[6];
    uint32_t bytesPerPixel;
    uint32_t imageSize;
    uint32_t height;
    uint32_t width;
    uint32_t bpp;
};

// Working storage shared by every decode: two decodes must never overlap.
extern TGAHeader tgaheader;
extern TGA tga;
extern const uint8_t uTGAcompare[12];  // uncompressed true-colour
extern const uint8_t cTGAcompare[12];  // run-length true-colour

// From the stream's current position; leaves it after the last byte consumed.
bool LoadTGA2(Texture* texture, std::ifstream* stream);
bool LoadUncompressedTGA2(Texture* texture, std::ifstream* stream);
bool LoadCompressedTGA2(Texture* texture, std::ifstream* stream);

// From a file, which is closed again before returning.
bool LoadTGA(Texture* texture, const char* path);
bool LoadUncompressedTGA(Texture* texture, const char* path, FILE* file);
bool LoadCompressedTGA(Texture* texture, const char* path, FILE* file);

// A modal critical alert with one "OK" button; owner and style are ignored.
void MessageBox(void* owner, const char* text, const char* title, int style);
