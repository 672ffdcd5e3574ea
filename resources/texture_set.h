#pragma once
// The texture set: every image lump of the resource archive becomes an OpenGL
// texture in the slot of the same index. Slot 0 is the glyph atlas, 1 the
// small banner, 2 and 3 the intro pictures, 4 and 5 the wide banners.
#include <cstdint>

#include "resources/texture.h"

// The scene reads slots 0 to 5 without looking at the count, so a loaded set
// always has at least this many slots; those past the archive's lumps stay empty.
constexpr int32_t kMinTextureSlots = 6;

// Replaces *array (destroying the old one with delete[]) by a new array of
// max(lumps, kMinTextureSlots) slots and sets *count to the number of lumps.
// A failed Open leaves both untouched. Needs a current OpenGL context.
bool LoadTexturesFromDataFile(const char* path, Texture** array, int32_t* count);

// Expands the decoded pixels to RGBA with alpha by alphaMode (1 colour key
// from the first pixel, 2 brightness, else opaque), uploads them to a new
// texture name and drops the decoded copy.
bool BuildTexture(Texture* texture, int alphaMode);
