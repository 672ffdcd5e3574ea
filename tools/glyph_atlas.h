#pragma once
// The glyph atlas: 16 × 8 cells of white glyphs on black. The top row of the
// picture starts with the digits 0 to 9 and the clock separator in cell 10.
#include <string>

#include "tools/font_face.h"
#include "tools/image.h"

constexpr int kAtlasColumns = 16;
constexpr int kAtlasRows = 8;
constexpr int kAtlasCell = 32;  // pixels on a side

// The code points of the 128 cells, row by row from the top of the picture.
const std::u32string& AtlasGlyphs();

// Draws the atlas with `font`; false (reason in `error`) when a glyph fails.
bool DrawGlyphAtlas(FontFace& font, Image& out, std::string& error);
