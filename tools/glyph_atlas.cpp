#include "tools/glyph_atlas.h"

#include <algorithm>
#include <cstdio>

namespace {

// Ink stays inside the cell less this margin, and the glow (two pixels at
// most) fades out before the cell's outer ring, so linear filtering never mixes in a neighbour.
constexpr int kInkMargin = 3;
constexpr int kGlowRadius = 2;
// Strokes are thickened a little so they survive being drawn at half size.
constexpr int kBold = 40;  // 1/64 pixel

std::u32string BuildGlyphs() {
  std::u32string g = U"0123456789:=+*<>";  // top row: digits, separator, operators
  for (char32_t c = 0xFF66; c <= 0xFF9D; ++c) g.push_back(c);  // half-width katakana
  g += U"|\"#$%&?!";
  g += U"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  g += U"\uFF62\uFF63()[]";  // corner brackets, brackets
  g += U"{}/^~;@012345678";
  return g;
}

}  // namespace

const std::u32string& AtlasGlyphs() {
  static const std::u32string glyphs = BuildGlyphs();
  return glyphs;
}

namespace {

// The largest size, up to `limit`, at which the glyph's ink fits the room.
int FittingSize(FontFace& font, char32_t c, int limit, int room) {
  GlyphBitmap g;
  for (int size = limit; size > 6; --size)
    if (font.SetPixelSize(size) && font.Render(c, kBold, g) && g.coverage.width <= room &&
        g.coverage.height <= room)
      return size;
  return 0;
}

}  // namespace

bool DrawGlyphAtlas(FontFace& font, Image& out, std::string& error) {
  const std::u32string& glyphs = AtlasGlyphs();
  if (glyphs.size() != static_cast<size_t>(kAtlasColumns * kAtlasRows)) {
    error = "glyph table holds " + std::to_string(glyphs.size()) + " glyphs, not 128";
    return false;
  }
  const int room = kAtlasCell - 2 * kInkMargin;
  // One size for the digits, letters and katakana, so they read as one
  // script; taller symbols (bars, brackets) shrink on their own to fit.
  int base = 2 * kAtlasCell;
  for (char32_t c : glyphs) {
    const bool letter = (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') ||
                        (c >= 0xFF66 && c <= 0xFF9D);
    if (letter) base = std::min(base, FittingSize(font, c, base, room));
  }
  out = Image(kAtlasColumns * kAtlasCell, kAtlasRows * kAtlasCell);
  GlyphBitmap g;
  for (int i = 0; i < kAtlasColumns * kAtlasRows; ++i) {
    const int size = FittingSize(font, glyphs[i], base, room);
    if (size == 0 || !font.SetPixelSize(size) || !font.Render(glyphs[i], kBold, g)) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "cannot render U+%04X", static_cast<unsigned>(glyphs[i]));
      error = font.path() + ": " + buf;
      return false;
    }
    // Centre the ink, not the advance box: cells are drawn as squares and the
    // clock overlaps its neighbours, so the visible glyph must sit mid-cell.
    Coverage cell(kAtlasCell, kAtlasCell);
    const int x0 = (kAtlasCell - g.coverage.width) / 2;
    const int y0 = (kAtlasCell - g.coverage.height) / 2;
    for (int y = 0; y < g.coverage.height; ++y)
      for (int x = 0; x < g.coverage.width; ++x) cell.at(x0 + x, y0 + y) = g.coverage.at(x, y);
    const int cx = (i % kAtlasColumns) * kAtlasCell;
    const int cy = (i / kAtlasColumns) * kAtlasCell;
    AddCoverage(out, Blur(cell, kGlowRadius), RGB{255, 255, 255}, cx, cy, 100);
    AddCoverage(out, cell, RGB{255, 255, 255}, cx, cy);
  }
  return true;
}
